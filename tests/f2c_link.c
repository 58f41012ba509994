/* The stock-library build has no sources of its own: main comes from
 * libf2c, MAIN__ and everything else from the program library. */
