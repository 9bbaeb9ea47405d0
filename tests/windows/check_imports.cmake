# SPDX-License-Identifier: MIT
# Fails when the Windows program BINARY imports a DLL that is not in ALLOWED
# (names separated by commas, compared without regard to case), imports
# none, or, with GUI set, is not a GUI-subsystem program carrying a resource
# named GLUT_ICON (the name freeglut loads its windows' icon by).
#   cmake -DOBJDUMP=... -DBINARY=... -DALLOWED=A.dll,B.dll [-DGUI=1] -P check_imports.cmake
cmake_minimum_required(VERSION 3.22)
execute_process(COMMAND "${OBJDUMP}" -p "${BINARY}" OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "objdump could not read ${BINARY}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" entries "${dump}")
if(NOT entries)
    message(FATAL_ERROR "no imported DLL found in ${BINARY}")
endif()
string(TOUPPER "${ALLOWED}" allowed)
string(REPLACE "," ";" allowed "${allowed}")
set(imports "")
foreach(entry IN LISTS entries)
    string(REGEX REPLACE "^DLL Name: *" "" name "${entry}")
    string(STRIP "${name}" name)
    list(APPEND imports "${name}")
    string(TOUPPER "${name}" upper)
    if(NOT upper IN_LIST allowed)
        message(FATAL_ERROR "${BINARY} imports ${name}, which is not one of ${ALLOWED}")
    endif()
endforeach()
message(STATUS "imports: ${imports}")
if(GUI AND NOT dump MATCHES "Subsystem[\t ]+0+2[\t ]+\\(Windows GUI\\)")
    message(FATAL_ERROR "${BINARY} is not a GUI-subsystem program")
endif()
if(GUI)
    # Resource names are stored in UTF-16: "GLUT_ICON" in hexadecimal.
    file(READ "${BINARY}" bytes HEX)
    if(NOT bytes MATCHES "47004c00550054005f00490043004f004e00")
        message(FATAL_ERROR "${BINARY} has no resource named GLUT_ICON")
    endif()
endif()
