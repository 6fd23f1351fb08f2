# The application entry: builds the composition root and runs the event loop.
