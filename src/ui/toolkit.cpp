// Toolkit implementation: being written.
