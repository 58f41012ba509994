/*
 * Installation of the run-time's signal handlers.
 */
#ifndef KORVEX_SIGNALS_H
#define KORVEX_SIGNALS_H

/* Installs the handlers for interrupt, termination request, floating-point
 * exception and abort; an ignored interrupt stays ignored. A broken pipe
 * is ignored: the write fails instead. */
void signals_install(void);

#endif
