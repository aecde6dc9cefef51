# Sourced: how every sanitized program of the project runs. The first report
# ends the program with a failure; leaks are reported at exit. The sanitize
# test preset (CMakePresets.json) sets the same for ctest.
here="${here:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:abort_on_error=0:strict_string_checks=1:check_initialization_order=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$here/tools/lsan.supp:print_suppressions=0"
