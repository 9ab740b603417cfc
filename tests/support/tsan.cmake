# Read by CTest before it runs any test of a ThreadSanitizer build (the tests folder's TEST_INCLUDE_FILES, set
# only in that build): the sanitizer's options for every test program and every game a script starts, and the
# pace of the end-to-end scripts.
# NOTE: halt_on_error ends a program at its first report with the sanitizer's exit status (66), so a report fails
# a script even where the script never reads the game's status: the game is gone at its next look. The
# suppressions name accesses of libraries built without the sanitizer only (tsan-suppressions.txt says why each
# is there). Options the caller set come last and so win.
set(ENV{TSAN_OPTIONS} "halt_on_error=1 second_deadlock_stack=1 \
suppressions=${CMAKE_CURRENT_LIST_DIR}/tsan-suppressions.txt $ENV{TSAN_OPTIONS}")
# The scripts' settling times and limits, sized for faster builds, stretched to this one's loading, which takes
# about three times as long (tests/e2e/lib.sh).
set(ENV{QUORLIX_WAIT_SCALE} 4)
