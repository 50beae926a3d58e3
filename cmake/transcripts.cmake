# kv_add_transcripts(PREFIX FOLDER ENVIRONMENT)
#   Registers each cram transcript FOLDER/*.t as the test PREFIX.<name>,
#   run with ENVIRONMENT (a list of VAR=value). A folder without
#   transcripts, or a transcript without a command, stops the configuration:
#   either would pass without testing anything.
function(kv_add_transcripts prefix folder environment)
  find_program(KV_CRAM NAMES cram3 cram REQUIRED)
  file(GLOB transcripts CONFIGURE_DEPENDS ${folder}/*.t)
  if(NOT transcripts)
    message(FATAL_ERROR "no transcript (*.t) in ${folder}")
  endif()
  foreach(transcript ${transcripts})
    file(STRINGS ${transcript} commands REGEX "^  \\$ ")
    if(NOT commands)
      message(FATAL_ERROR "${transcript} runs no command")
    endif()
    get_filename_component(name ${transcript} NAME_WE)
    add_test(NAME ${prefix}.${name}
             COMMAND ${KV_CRAM} --shell=/bin/bash --indent=2 ${transcript})
    set_tests_properties(${prefix}.${name} PROPERTIES ENVIRONMENT "${environment}")
  endforeach()
endfunction()
