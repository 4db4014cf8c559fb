// app: being written.
