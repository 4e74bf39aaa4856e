# The application icon: one hand-drawn SVG, rendered to the theme's bitmap sizes
# at build time (nothing generated is kept in the sources).

find_program(RSVG_CONVERT rsvg-convert REQUIRED)   # Debian: librsvg2-bin

set(BRACKENMOOR_ICON_SVG ${CMAKE_CURRENT_LIST_DIR}/${BRACKENMOOR_APP_ID}.svg)
set(BRACKENMOOR_ICON_DIR ${CMAKE_BINARY_DIR}/packaging/icons)
set(BRACKENMOOR_ICON_SIZES 48 128 256)

# Renders the bitmaps and embeds them in <target> under :/icons/<n>x<n>/<id>.png.
# The window uses bitmaps so that no SVG image plugin is needed at run time.
# Called from the directory that declares <target>, so that every generator
# knows how to make the files the resource is built from.
function(bm_add_app_icon target)
  set(pngs)
  foreach(size IN LISTS BRACKENMOOR_ICON_SIZES)
    set(dir ${BRACKENMOOR_ICON_DIR}/${size}x${size})
    set(png ${dir}/${BRACKENMOOR_APP_ID}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
      COMMAND ${RSVG_CONVERT} --width ${size} --height ${size} --output ${png} ${BRACKENMOOR_ICON_SVG}
      DEPENDS ${BRACKENMOOR_ICON_SVG}
      COMMENT "Rendering the ${size}x${size} icon"
      VERBATIM)
    list(APPEND pngs ${png})
  endforeach()
  qt_add_resources(${target} appicon PREFIX /icons BASE ${BRACKENMOOR_ICON_DIR} FILES ${pngs})
endfunction()
