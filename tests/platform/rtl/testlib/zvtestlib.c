/* A small library loaded at run time by the dynamic-library tests. Like the
   engine stand-ins it exports its entry under the plain name; callers ask for
   the decorated name ("_answer@4"), which the loader layer maps. */
int answer(int *value) { return value ? *value * 2 + 42 : 42; }

int plain_answer(void) { return 42; }
