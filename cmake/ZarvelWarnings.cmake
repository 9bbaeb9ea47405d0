# SPDX-License-Identifier: MIT
# zarvel_warnings(target): the project's warning set on one target.
function(zarvel_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
    if(ZARVEL_WARNINGS_AS_ERRORS)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
