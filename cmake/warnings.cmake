# Strict warnings for Moza's own targets only (never for Qt or third-party code).
function(moza_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /utf-8 $<$<BOOL:${MOZA_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE
      -Wall -Wextra -Wpedantic -Wconversion -Wshadow
      # g++ 12 warns falsely on std::string concatenation when optimising (GCC bug 105651).
      $<$<AND:$<CXX_COMPILER_ID:GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>>:-Wno-restrict>
      # ... and on std::vector's resize at -O3, which the MinGW release build uses (GCC bug 107852).
      $<$<AND:$<CXX_COMPILER_ID:GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>,$<BOOL:${WIN32}>>:-Wno-array-bounds>
      $<$<BOOL:${MOZA_WERROR}>:-Werror>)
  endif()
endfunction()
