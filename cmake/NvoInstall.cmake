# Placeholder: install rules and the package config are filled in with the consumer test.
