# The program's own pictures, built into its resources: the banner and the
# about box's logos as JPEG, each also at twice its size for screens that
# scale by 2, and the window icon at several sizes.
include(${CMAKE_SOURCE_DIR}/cmake/render_svg.cmake)

set(picture_folder ${CMAKE_CURRENT_BINARY_DIR}/pictures)
file(GLOB picture_drawings CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/*.svg)
set(picture_files)
foreach(name banner logo wordmark)
    foreach(zoom 1 2)
        set(stem ${picture_folder}/${name})
        if(zoom EQUAL 2)
            string(APPEND stem "@2x")
        endif()
        # White behind the drawing: JPEG has no transparency.
        hostlore_render_svg(${CMAKE_SOURCE_DIR}/assets/${name}.svg ${stem}.png
            --zoom=${zoom} --background-color=white DEPENDS ${picture_drawings})
        add_custom_command(OUTPUT ${stem}.jpg
            COMMAND jpeg_encode ${stem}.png ${stem}.jpg
            DEPENDS ${stem}.png jpeg_encode
            VERBATIM)
        list(APPEND picture_files ${stem}.jpg)
    endforeach()
endforeach()
qt_add_resources(hostlore_gui pictures PREFIX /pictures BASE ${picture_folder}
    FILES ${picture_files})

set(icon_folder ${CMAKE_CURRENT_BINARY_DIR}/window_icon)
set(icon_files)
foreach(size 16 32 64 128 256)
    set(png ${icon_folder}/hostlore-${size}.png)
    hostlore_render_svg(${CMAKE_SOURCE_DIR}/data/icons/hostlore.svg ${png}
        --width=${size} --height=${size})
    list(APPEND icon_files ${png})
endforeach()
qt_add_resources(hostlore_gui window_icon PREFIX /icons BASE ${icon_folder} FILES ${icon_files})
