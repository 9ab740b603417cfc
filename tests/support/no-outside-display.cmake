# Read by CTest before it runs any test (the tests folder's TEST_INCLUDE_FILES): drops the caller's X and
# Wayland display and X authority from CTest's environment, so no test inherits them. A test that opens a
# window gets a display of its own through with-display; one that forgot would find no display at all rather
# than open its window on the caller's screen.
unset(ENV{DISPLAY})
unset(ENV{XAUTHORITY})
unset(ENV{WAYLAND_DISPLAY})
unset(ENV{QUORLIX_DISPLAY})
