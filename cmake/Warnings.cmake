# Warnings on everywhere, as errors unless QUILLON_WERROR is off; sanitizers for the native test build.
function(quillon_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /permissive- /utf-8 $<$<BOOL:${QUILLON_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
                                             $<$<BOOL:${QUILLON_WERROR}>:-Werror>)
  endif()
endfunction()

if(QUILLON_SANITIZE AND NOT MSVC)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
