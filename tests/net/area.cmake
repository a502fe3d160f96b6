# The loopback servers of the network tests.
target_link_libraries(${exe} PRIVATE tq_test_http)
