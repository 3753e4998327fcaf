// Nothing of its own: the target that compiles GoogleTest's header once for the tests.
