# tambrix_strip_debian_aax_switch_off(<input> <output>)
# Copies JUCE's plug-in settings check and removes the Debian-specific block that
# redefines JucePlugin_Build_AAX to 0. The original has CRLF line endings; the
# block is matched with either ending, and the copy is written with LF endings.
# Fails when the block is not found exactly once.
function(tambrix_strip_debian_aax_switch_off input output)
  file(READ "${input}" content)
  set(block_regex "#if JucePlugin_Build_AAX\r?\n# warning JUCE/Debian disabled AAX support\r?\n# undef JucePlugin_Build_AAX\r?\n# define JucePlugin_Build_AAX 0\r?\n#endif\r?\n")
  string(REGEX MATCHALL "${block_regex}" matches "${content}")
  list(LENGTH matches count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "Expected Debian's AAX switch-off block once in ${input}, found it ${count} times")
  endif()
  string(REGEX REPLACE "${block_regex}" "" stripped "${content}")
  if(stripped MATCHES "JUCE/Debian disabled AAX")
    message(FATAL_ERROR "Debian's AAX switch-off block is still present after stripping ${input}")
  endif()
  # Written verbatim to a scratch file, then copied only when it changed, so that a
  # new configure run does not force the wrapper to recompile.
  file(WRITE "${output}.tmp" "${stripped}")
  file(COPY_FILE "${output}.tmp" "${output}" ONLY_IF_DIFFERENT)
  file(REMOVE "${output}.tmp")
endfunction()
