// What qdzip extracts from archives written by other programs, compared
// byte for byte with what unzip extracts from them.
