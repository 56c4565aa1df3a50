// The pictures of the program live in this library's compiled-in resources.
