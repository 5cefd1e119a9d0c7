# Warnings for the project's own targets; third-party headers come in as system includes.
add_library(orvo_warnings INTERFACE)
target_compile_options(orvo_warnings INTERFACE
  -Wall -Wextra -Werror -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
  -Wsuggest-override -Wno-error=suggest-override)
