# Writes build_id.h with the commit the program is built from; the file changes only when
# the commit (or whether the tree differs from it) changes, so nothing rebuilds otherwise.
execute_process(COMMAND git -C "${SOURCE}" rev-parse --short=12 HEAD
                OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
execute_process(COMMAND git -C "${SOURCE}" status --porcelain --untracked-files=no
                OUTPUT_VARIABLE changes OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT commit)
  set(commit "nieznany")
elseif(changes)
  string(APPEND commit "+zmiany")
endif()
file(WRITE "${OUT}.new" "#pragma once\n#define KALMET_COMMIT \"${commit}\"\n")
file(COPY_FILE "${OUT}.new" "${OUT}" ONLY_IF_DIFFERENT)
