// Anchors the precompiled header that the test binaries share.
