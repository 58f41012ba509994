/* The stock-library build has no sources of its own: main comes from
 * libf2c, MAIN__ and everything else from the program library. KORVEX's
 * own end of the name's READ is the stock one here (a longer name is
 * cut to 20 bytes, a known difference). */
extern int e_rsfe(void);
int e_rsfe_name(void) { return e_rsfe(); }
