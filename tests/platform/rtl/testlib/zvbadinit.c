/* A library that cannot be set up: it needs a symbol nobody provides, so an
   immediate-binding load fails. */
extern int zv_symbol_nobody_defines(void);
int bad_entry(void) { return zv_symbol_nobody_defines(); }
