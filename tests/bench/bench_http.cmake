# The loopback server the HTTP benchmark talks to.
target_link_libraries(${name} PRIVATE tq_test_http)
