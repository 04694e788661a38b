# -DTELUMA_SANITIZE=ON (make sanitize): the whole tree with AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer. Undefined behaviour stops the program, so a test sees it as a
# failure; the run's options and leak suppressions are set by `make sanitize`.
option(TELUMA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(TELUMA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()
