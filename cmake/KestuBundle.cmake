# The kit's resource bundle: a folder next to the executable holding the four faces under the
# names the kit looks for. Debian's Inter faces stand in; nothing of the fonts is committed.
set(KESTU_BUNDLE_NAME KestuDesign_KestuDesign.bundle)
set(KESTU_FONT_SOURCE_DIR /usr/share/fonts/opentype/inter CACHE PATH "Folder of the Inter faces")
set(KESTU_FONT_MAP
  "Inter-Regular.otf=Satoshi-Regular.otf"
  "Inter-Medium.otf=Satoshi-Medium.otf"
  "Inter-Bold.otf=Satoshi-Bold.otf"
  "Inter-Black.otf=Satoshi-Black.otf")

# Copies the bundle next to TARGET after every build.
function(kestu_bundle_next_to target)
  set(dest "$<TARGET_FILE_DIR:${target}>/${KESTU_BUNDLE_NAME}")
  set(cmds COMMAND ${CMAKE_COMMAND} -E make_directory "${dest}")
  foreach(pair IN LISTS KESTU_FONT_MAP)
    string(REPLACE "=" ";" parts "${pair}")
    list(GET parts 0 from)
    list(GET parts 1 to)
    list(APPEND cmds COMMAND ${CMAKE_COMMAND} -E copy_if_different "${KESTU_FONT_SOURCE_DIR}/${from}" "${dest}/${to}")
  endforeach()
  add_custom_command(TARGET ${target} POST_BUILD ${cmds} VERBATIM)
endfunction()
