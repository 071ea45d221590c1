"""The picture generators: the bundled themes, the built-in theme and the demo's pictures."""
