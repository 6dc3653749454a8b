# Lays out a program folder from the demo content.
# Input: PROGRAM_DIR (the folder of the executable), DEMO_DIR (demo/ of the sources).
# Files already present are kept, so a user's settings and edits survive rebuilds.
if(NOT PROGRAM_DIR OR NOT DEMO_DIR)
    message(FATAL_ERROR "PROGRAM_DIR and DEMO_DIR must be given")
endif()

foreach(folder b t s help)
    file(MAKE_DIRECTORY "${PROGRAM_DIR}/${folder}")
endforeach()

file(GLOB_RECURSE demo_files RELATIVE "${DEMO_DIR}" "${DEMO_DIR}/b/*" "${DEMO_DIR}/t/*"
     "${DEMO_DIR}/help/*" "${DEMO_DIR}/plt.txt")
foreach(rel IN LISTS demo_files)
    if(NOT EXISTS "${PROGRAM_DIR}/${rel}")
        get_filename_component(dir "${PROGRAM_DIR}/${rel}" DIRECTORY)
        file(MAKE_DIRECTORY "${dir}")
        file(COPY_FILE "${DEMO_DIR}/${rel}" "${PROGRAM_DIR}/${rel}")
    endif()
endforeach()

# test.ini is written only when missing; z points at the demo exam of this folder.
# The program reads test.ini as Windows-1251, so a folder path with Cyrillic letters is
# converted from the UTF-8 of the file system; a path Windows-1251 cannot hold stays as it is.
if(NOT EXISTS "${PROGRAM_DIR}/test.ini")
    file(READ "${DEMO_DIR}/test.ini.in" ini)
    string(REPLACE "@EXAM_FOLDER@" "${PROGRAM_DIR}/b/geography" ini "${ini}")
    set(utf8 "${PROGRAM_DIR}/test.ini.utf8")
    file(WRITE "${utf8}" "${ini}")
    execute_process(COMMAND iconv -f UTF-8 -t WINDOWS-1251 "${utf8}"
                    OUTPUT_FILE "${PROGRAM_DIR}/test.ini" RESULT_VARIABLE converted
                    ERROR_QUIET)
    if(NOT converted EQUAL 0)
        file(WRITE "${PROGRAM_DIR}/test.ini" "${ini}")
    endif()
    file(REMOVE "${utf8}")
endif()
