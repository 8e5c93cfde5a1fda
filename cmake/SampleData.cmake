# The sample sequences of data/ and data/teaching/: copied to build/stage/data, where the open-file dialog of a
# program started in build/stage begins, and installed to share/tavrola/data.
set(sample_data_files
  README
  J01636_ecoli_lac_operon.txt
  L46634_HHV7_telomeric_repeats.txt
  V00508_human_epsilon_globin.txt
  X07797_octopus_rhodopsin_mRNA.txt
  X65923_human_fau_mRNA.txt
  # Whole record files, headers and all.
  J01636.gb
  ecoli6s.fasta
)

# Short made-up pairs, each making one point audible; data/README says which.
set(teaching_data_files
  own_reverse_complement.txt
  repeat.txt
  repeat_point_mutation.txt
  triplet_repeat_expanded.txt
  triplet_repeat_normal.txt
)

tavrola_stage_files(staged_sample_data data "${PROJECT_SOURCE_DIR}/data" ${sample_data_files})
tavrola_stage_files(staged_teaching_data data/teaching "${PROJECT_SOURCE_DIR}/data/teaching"
                    ${teaching_data_files})
add_custom_target(tavrola_sample_data ALL DEPENDS ${staged_sample_data} ${staged_teaching_data})

if(TAVROLA_BUILD_TESTS)
  add_test(NAME sample_data_holds_only_sequence_lines
           COMMAND ${CMAKE_COMMAND} "-DDATA_DIR=${PROJECT_SOURCE_DIR}/data"
                   -P "${PROJECT_SOURCE_DIR}/tests/packaging/check_sample_data.cmake")
endif()
