# SPDX-License-Identifier: MIT
# Packs the browser game into OUT, a zip of one folder zarvel-VERSION-web
# with the page's files FILES (from FILES_DIR) and COPYRIGHT.txt
# (LICENSE, then FREEGLUT_NOTICE for the font). The members are 0644, sorted
# and dated EPOCH; STRIP (strip-nondeterminism), when found, normalises the
# zip's order, modes and times as for the other packages.
set(folder "zarvel-${VERSION}-web")
get_filename_component(work "${OUT}" DIRECTORY)
set(stage "${work}/web-zip")
file(REMOVE_RECURSE "${stage}")
file(MAKE_DIRECTORY "${stage}/${folder}")
set(files ${FILES})
list(SORT files)
foreach(name ${files})
    file(COPY "${FILES_DIR}/${name}" DESTINATION "${stage}/${folder}"
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endforeach()
file(READ "${LICENSE}" license)
file(READ "${FREEGLUT_NOTICE}" notice)
file(WRITE "${stage}/${folder}/COPYRIGHT.txt" "${license}
The overlay's font is freeglut's 18-point Helvetica bitmap font, generated
from freeglut 3.4.0's src/fg_font_data.c, under freeglut's notice:

${notice}")
file(CHMOD "${stage}/${folder}/COPYRIGHT.txt" "${stage}/${folder}"
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
    DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
        WORLD_READ WORLD_EXECUTE)
# string(TIMESTAMP) reads SOURCE_DATE_EPOCH; the zip stores local times, so UTC.
set(ENV{SOURCE_DATE_EPOCH} "${EPOCH}")
set(ENV{TZ} UTC)
string(TIMESTAMP stamp "%Y-%m-%d %H:%M:%S" UTC)
file(REMOVE "${OUT}")
list(TRANSFORM files PREPEND "${folder}/" OUTPUT_VARIABLE members)
list(PREPEND members "${folder}/COPYRIGHT.txt")
execute_process(
    COMMAND "${CMAKE_COMMAND}" -E tar cf "${OUT}" --format=zip "--mtime=${stamp} UTC" -- ${members}
    WORKING_DIRECTORY "${stage}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the zip ${OUT} could not be made")
endif()
if(NOT STRIP)
    message(WARNING "strip-nondeterminism was not found: ${OUT} keeps the builder's umask")
    return()
endif()
execute_process(COMMAND "${STRIP}" --type zip --timestamp "${EPOCH}" "${OUT}"
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "strip-nondeterminism failed on ${OUT}")
endif()
