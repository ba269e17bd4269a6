# Pictures are drawn from SVG at build time with rsvg-convert, so every size
# of one picture comes from the same drawing.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)

# hostlore_render_svg(SVG PNG SIZE-OPTIONS... [DEPENDS FILES...])
function(hostlore_render_svg svg png)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    get_filename_component(folder ${png} DIRECTORY)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
        COMMAND ${RSVG_CONVERT} ${ARG_UNPARSED_ARGUMENTS} --output=${png} ${svg}
        DEPENDS ${svg} ${ARG_DEPENDS}
        VERBATIM)
endfunction()
