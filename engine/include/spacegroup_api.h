/* The one entry point of the space-group library (spacegroup.dll, built here
 * as libspacegroup.so), looked up by the decorated name "_spacegp@16"; the
 * library exports the plain name "spacegp". C calling convention, every
 * argument by pointer.
 */
#ifndef SPACEGROUP_API_H
#define SPACEGROUP_API_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The symbol field: the symbol's characters, a NUL when it is shorter than
 * the field, blanks to the end. Upper case, parts separated by blanks, screw
 * axes as two digits ("P 21/C"). */
#define SG_SYMBOL_FIELD 20
#define SG_RESULT_COUNT 10

/* Result integers (0-based index into the ten-integer record). */
#define SG_SYMMETRY_CODE 0      /* Laue class, see below */
#define SG_GENERAL_MULT 1       /* multiplicity of the general position */
#define SG_SITE_MULT 2          /* multiplicity of the given position */
#define SG_GROUP_NUMBER 3       /* number in the International Tables */
#define SG_CENTRING_COUNT 4     /* lattice points per cell (P 1, C 2, R 3, F 4) */
#define SG_CENTROSYMMETRIC 5    /* 1 when the group holds the inversion */
#define SG_STABILISER_ORDER 6   /* operations that leave the position fixed */
#define SG_AXIS_CODE 7          /* monoclinic unique axis: 1 a, 2 b, 3 c; else 0 */

/* Symmetry codes (the Laue class):
 *  1 -1        2 2/m       3 mmm       4 4/m       5 4/mmm
 *  6 -3 (rhombohedral axes)            7 -3m (rhombohedral axes)
 *  8 -3 (hexagonal axes)   9 -3m1     10 -31m     11 6/m      12 6/mmm
 * 13 m-3      14 m-3m */

/* _spacegp@16: symbol field (SG_SYMBOL_FIELD characters), position (three
 * fractional coordinates), result (SG_RESULT_COUNT integers, out), error
 * (out: 0 on success, non-zero for a symbol the library does not know, with
 * every result integer 0). */
typedef void (*TSgSpaceGp)(char* symbol, float* position, int32_t* result, int32_t* error);

__attribute__((visibility("default"))) void spacegp(char* symbol, float* position,
                                                    int32_t* result, int32_t* error);

#ifdef __cplusplus
}
#endif

#endif /* SPACEGROUP_API_H */
