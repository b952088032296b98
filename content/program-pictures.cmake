# SPDX-License-Identifier: GPL-3.0-or-later
# The program's own pictures (content/program/pictures.tsv), rendered at build time into
# ${CMAKE_BINARY_DIR}/program-pictures/ and embedded in tipsovo_lib as Qt resources:
#   :/pictures/<file>.png   every line of the table
#   :/pictures/splash.bgra the splash again, as raw pixels
#   :/credits.txt           a copy of content/CREDITS
# Included from the top-level CMakeLists.txt after tipsovo_lib is defined, whether or not the
# resource packs are built (TIPSOVO_CONTENT), since the library needs these pictures.

find_program(TIPSOVO_NODE node REQUIRED)
set(program_pictures_src ${CMAKE_SOURCE_DIR}/content)
set(program_pictures_dir ${CMAKE_BINARY_DIR}/program-pictures)
set(program_pictures_table ${program_pictures_src}/program/pictures.tsv)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${program_pictures_table})

file(STRINGS ${program_pictures_table} program_pictures_lines ENCODING UTF-8)
set(program_pictures)
foreach(line IN LISTS program_pictures_lines)
    if(line MATCHES "^([a-z0-9-]+\\.png)\t")
        list(APPEND program_pictures ${program_pictures_dir}/${CMAKE_MATCH_1})
    endif()
endforeach()

file(GLOB program_pictures_deps CONFIGURE_DEPENDS
     ${program_pictures_src}/program/*.svg ${program_pictures_src}/tools/*.mjs)
add_custom_command(
    OUTPUT ${program_pictures} ${program_pictures_dir}/credits.txt
    COMMAND ${TIPSOVO_NODE} ${program_pictures_src}/tools/program-pictures.mjs
            --out ${program_pictures_dir}
    DEPENDS ${program_pictures_table} ${program_pictures_deps} ${program_pictures_src}/CREDITS
            ${program_pictures_src}/package-lock.json
    COMMENT "Rendering the program's pictures"
    VERBATIM)

# Qt writes the .qrc files of these two resources itself (in the build tree) and links their
# object files into every target that links tipsovo_lib, so no Q_INIT_RESOURCE is needed.
qt_add_resources(tipsovo_lib tipsovo_program_pictures
    PREFIX /pictures BASE ${program_pictures_dir} FILES ${program_pictures})
# The splash is the first thing painted, before the event loop: decoding its PNG took about as
# long as starting a bare Qt window. It is also embedded as its raw pixels (640 x 480, 32 bits
# in the byte order of QImage::Format_RGB32), uncompressed, so that showing it is one copy.
find_program(TIPSOVO_CONVERT convert REQUIRED)
add_custom_command(
    OUTPUT ${program_pictures_dir}/splash.bgra
    COMMAND ${TIPSOVO_CONVERT} ${program_pictures_dir}/splash.png -alpha set
            BGRA:${program_pictures_dir}/splash.bgra
    DEPENDS ${program_pictures_dir}/splash.png
    COMMENT "Writing the splash's raw pixels"
    VERBATIM)
qt_add_resources(tipsovo_lib tipsovo_splash
    PREFIX /pictures BASE ${program_pictures_dir} FILES ${program_pictures_dir}/splash.bgra
    OPTIONS -no-compress)
qt_add_resources(tipsovo_lib tipsovo_credits
    PREFIX / BASE ${program_pictures_dir} FILES ${program_pictures_dir}/credits.txt)
