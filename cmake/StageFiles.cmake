# What the program opens by relative name (samples, help) is copied into build/stage/<folder>,
# where tools/run starts it, and installed into share/tavrola/<folder>: one layout for both.
#
# tavrola_stage_files(<out_var> <folder> <source_dir> <file>...) sets <out_var> to the staged
# paths, for a target to depend on.
function(tavrola_stage_files out_var folder source_dir)
  set(staged_files)
  foreach(file IN LISTS ARGN)
    set(source "${source_dir}/${file}")
    set(staged "${TAVROLA_STAGE_DIR}/${folder}/${file}")
    add_custom_command(
      OUTPUT "${staged}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${TAVROLA_STAGE_DIR}/${folder}"
      COMMAND ${CMAKE_COMMAND} -E copy_if_different "${source}" "${staged}"
      DEPENDS "${source}"
      COMMENT "Staging ${folder}/${file}"
      VERBATIM)
    list(APPEND staged_files "${staged}")
    install(FILES "${source}" DESTINATION "${TAVROLA_INSTALL_DATA_DIR}/${folder}")
  endforeach()
  set(${out_var} ${staged_files} PARENT_SCOPE)
endfunction()
