# The application: start-up, the tray item and its label, the panel popup, the windows and
# the single-instance guard, in a library the executable and the tests share.
find_package(Qt6 REQUIRED COMPONENTS Svg)
pkg_check_modules(TREMLOR_APP_XCB REQUIRED IMPORTED_TARGET xcb)
add_library(tremlor_app STATIC)
target_compile_options(tremlor_app PRIVATE ${TREMLOR_WARNINGS})
target_link_libraries(tremlor_app PUBLIC tremlor_views Qt6::Widgets Qt6::DBus)
target_sources(tremlor_app PRIVATE
  src/App/AppWindows.cpp
  src/App/AppWindows.h
  src/App/MenuBarLabel.cpp
  src/App/MenuBarLabel.h
  src/App/PanelPopup.cpp
  src/App/PanelPopup.h
  src/App/SingleInstance.cpp
  src/App/SingleInstance.h
  src/App/TremlorGlyphIcon.cpp
  src/App/TremlorGlyphIcon.h
  src/App/TremlorTray.cpp
  src/App/TremlorTray.h
  src/Platform/DBus/StatusNotifierItem.cpp
  src/Platform/DBus/StatusNotifierItem.h
  src/TremlorApp.cpp
  src/TremlorApp.h
)
target_link_libraries(tremlor PRIVATE tremlor_app PkgConfig::TREMLOR_APP_XCB)

# The glyphs: drawn as SVG in resources/glyphs, rendered at 1x (18 px) and @2x (36 px) by a
# small tool built first, into glyphs/ beside the executables; installed with the program.
add_executable(tremlor_render_glyph src/App/RenderGlyph.cpp)
target_link_libraries(tremlor_render_glyph PRIVATE Qt6::Gui Qt6::Svg)
target_compile_options(tremlor_render_glyph PRIVATE ${TREMLOR_WARNINGS})
set(TREMLOR_GLYPHS_DIR ${CMAKE_BINARY_DIR}/glyphs)
set(TREMLOR_ICONS_DIR ${CMAKE_BINARY_DIR}/icons)
set(glyph_outputs)
foreach(glyph tremlor-glyph tremlor-glyph-active tremlor-glyph-paused)
  set(svg ${CMAKE_CURRENT_SOURCE_DIR}/resources/glyphs/${glyph}.svg)
  add_custom_command(
    OUTPUT ${TREMLOR_GLYPHS_DIR}/${glyph}.png ${TREMLOR_GLYPHS_DIR}/${glyph}@2x.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TREMLOR_GLYPHS_DIR}
    COMMAND tremlor_render_glyph ${svg} ${TREMLOR_GLYPHS_DIR}/${glyph}.png 18
    COMMAND tremlor_render_glyph ${svg} ${TREMLOR_GLYPHS_DIR}/${glyph}@2x.png 36
    DEPENDS tremlor_render_glyph ${svg}
    COMMENT "Rendering ${glyph}")
  list(APPEND glyph_outputs ${TREMLOR_GLYPHS_DIR}/${glyph}.png ${TREMLOR_GLYPHS_DIR}/${glyph}@2x.png)
endforeach()
# The application icon, from the running glyph, for the desktop's menus.
set(icon_svg ${CMAKE_CURRENT_SOURCE_DIR}/resources/glyphs/tremlor-glyph-active.svg)
foreach(size 16 22 24 32 48 64 128 256)
  add_custom_command(
    OUTPUT ${TREMLOR_ICONS_DIR}/${size}/com.tremlor.app.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TREMLOR_ICONS_DIR}/${size}
    COMMAND tremlor_render_glyph ${icon_svg} ${TREMLOR_ICONS_DIR}/${size}/com.tremlor.app.png ${size}
    DEPENDS tremlor_render_glyph ${icon_svg}
    COMMENT "Rendering the ${size} px application icon")
  list(APPEND glyph_outputs ${TREMLOR_ICONS_DIR}/${size}/com.tremlor.app.png)
  install(FILES ${TREMLOR_ICONS_DIR}/${size}/com.tremlor.app.png
    DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(tremlor_glyphs ALL DEPENDS ${glyph_outputs})
add_dependencies(tremlor_app tremlor_glyphs)
install(DIRECTORY ${TREMLOR_GLYPHS_DIR}/ DESTINATION share/tremlor/glyphs FILES_MATCHING PATTERN "*.png")
install(FILES ${icon_svg} DESTINATION share/icons/hicolor/scalable/apps RENAME com.tremlor.app.svg)
install(FILES resources/com.tremlor.app.desktop DESTINATION share/applications)
