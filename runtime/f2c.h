/*
 * The run-time interface the program is written against: the types and
 * control records of the f2c run-time library, laid out as that library
 * declares them (32-bit integers), and the entry points KORVEX uses.
 * Program code includes only this header, so it links against this layer
 * or the stock library (there e_rsfe_name is e_rsfe: tests/f2c_link.c).
 */
#ifndef KORVEX_F2C_H
#define KORVEX_F2C_H

#include <stdint.h>

typedef int32_t integer;
typedef float real;
typedef int32_t logical;
typedef int32_t flag;
typedef int32_t ftnlen;
typedef int32_t ftnint;

/* The bytes a file name may take, its end included: OPEN refuses a longer one. */
enum { NAME_MAX_BYTES = 1024 };

/* Item types of a list-directed transfer (do_lio). */
enum { TYREAL = 4, TYCHAR = 9 };

/* READ or WRITE on an external unit; cifmt is 0 for list-directed. */
typedef struct {
	flag cierr;
	ftnint ciunit;
	flag ciend;
	char *cifmt;
	ftnint cirec;
} cilist;

/* OPEN. */
typedef struct {
	flag oerr;
	ftnint ounit;
	char *ofnm;
	ftnlen ofnmlen;
	char *osta;
	char *oacc;
	char *ofm;
	ftnint orl;
	char *oblnk;
} olist;

/* CLOSE. */
typedef struct {
	flag cerr;
	ftnint cunit;
	char *csta;
} cllist;

/* INQUIRE; a null pointer is a specifier that was not given. The program
 * gives the file and EXIST= only; the rest keeps the library's layout. */
typedef struct {
	flag inerr;
	ftnint inunit;
	char *infile;
	ftnlen infilen;
	ftnint *inex;
	ftnint *inopen, *innum, *innamed;
	char *inname; ftnlen innamlen;
	char *inacc; ftnlen inacclen;
	char *inseq; ftnlen inseqlen;
	char *indir; ftnlen indirlen;
	char *infmt; ftnlen infmtlen;
	char *inform; ftnint informlen;
	char *inunf; ftnlen inunflen;
	ftnint *inrecl, *innrec;
	char *inblank; ftnlen inblanklen;
} inlist;

#ifdef __cplusplus
extern "C" {
#endif

/* The main program, called once by the start-up. */
int MAIN__(void);

integer s_wsfe(cilist *);
integer e_wsfe(void);
integer s_rsfe(cilist *);
/* Not the library's: ends the READ of a file name as e_rsfe does, but the
 * rest of the record must be blanks and tabs; anything more is fatal
 * ("fmt: name longer than 20 bytes"), never a name cut short. */
integer e_rsfe_name(void);
integer do_fio(ftnint *number, char *ptr, ftnlen len);

integer s_wsle(cilist *);
integer e_wsle(void);
integer s_rsle(cilist *);
integer e_rsle(void);
integer do_lio(ftnint *type, ftnint *number, char *ptr, ftnlen len);

integer f_open(olist *);
integer f_clos(cllist *);
integer f_inqu(inlist *);

int s_stop(char *text, ftnlen len);   /* the program's STOP has no text */

void s_cat(char *target, char *pieces[], ftnint lengths[], ftnint *count, ftnlen target_len);
integer i_len(char *s, ftnlen len);
double pow_ri(real *base, integer *exponent);

#ifdef __cplusplus
}
#endif

#endif
