/* Entry points of the refinement engine library (zudezez.dll, built here as
 * libzudezez.so) and of the binding that loads it at run time.
 *
 * Plain C, shared by the engine and by TRefine. Every argument is passed by
 * pointer (the address of a variable or of an array's first element);
 * integers are 32-bit, reals single precision; C calling convention.
 *
 * The binding looks the entries up by their decorated names ("_startprog@36"
 * ...); the engine exports the plain names below, because the GNU linker
 * cannot export a name containing '@'. The runtime layer's GetProcAddress
 * falls back from the decorated name to the plain one.
 */
#ifndef ZUDEZEZ_API_H
#define ZUDEZEZ_API_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* File-name buffers: the name, a NUL, then blanks up to the end. A name of
 * ZD_NAME_BUFFER characters or more does not fit and is never passed. */
#define ZD_NAME_BUFFER 250
/* Length of each of the three arrays returned by getinfo. */
#define ZD_INFO_ARRAY 400
/* Radial distribution: values written from the array's second element. */
#define ZD_RDF_POINTS 1000
/* Fourier and Patterson maps: ZD_FOURIER_GRID^3 values, indexed
 * [slice][row][column], column fastest; slices run along the chosen axis. */
#define ZD_FOURIER_GRID 64
/* Reflection marker code of getplot:
 * phase * 2^26 + (h + 128) * 2^16 + (k + 128) * 2^8 + (l + 128). */
#define ZD_MARKER_CODE(phase, h, k, l) \
  ((int32_t)(phase) * 67108864 + ((int32_t)(h) + 128) * 65536 + ((int32_t)(k) + 128) * 256 + \
   ((int32_t)(l) + 128))
/* The oldest engine version the binding accepts without a warning. */
#define ZD_MIN_VERSION 7.19f

/* ---- Function pointer types used by the binding (in binding order) ---- */

/* _startprog@36: histogram count, IDSZ, IRS, NIPOI, input file, data file,
 * output file, base name (each a ZD_NAME_BUFFER buffer), error (out).
 * Error 0: the input is read and the engine is ready for cycles. */
typedef void (*TZdStartProg)(int32_t* histogramCount, int32_t* idsz, int32_t* irs,
                             int32_t* nipoi, char* inputFile, char* dataFile,
                             char* outputFile, char* baseName, int32_t* error);

/* _closeprog@12: histogram count, update (1: write "<base>.upd"), error (out). */
typedef void (*TZdCloseProg)(int32_t* histogramCount, int32_t* update, int32_t* error);

/* _iteration@16: histogram count, cycle number (already counted up),
 * converged (in/out; set to 1 when converged), error (out). */
typedef void (*TZdIteration)(int32_t* histogramCount, int32_t* cycle, int32_t* converged,
                             int32_t* error);

/* _getinfo@32: histogram, Rp, Rwp, chi-squared, a fifth real (all out), and
 * three arrays of ZD_INFO_ARRAY reals (out). */
typedef void (*TZdGetInfo)(int32_t* histogram, float* rp, float* rwp, float* chi2,
                           float* fifth, float* array1, float* array2, float* array3);

/* _getstatus@4: progress of the running cycle in percent (out). */
typedef void (*TZdGetStatus)(float* percent);

/* _putinfo@12: histogram, kind, values; kept for compatibility, never called. */
typedef void (*TZdPutInfo)(int32_t* histogram, int32_t* kind, float* values);

/* _getplot@32: histogram, idle (1 when the run is over, else 0), an integer
 * (out, not examined), x, observed, calculated (reals, one per point), marker
 * codes (integers) and marker positions (reals), sized as getplotinfo says. */
typedef void (*TZdGetPlot)(int32_t* histogram, int32_t* idle, int32_t* status, float* x,
                           float* observed, float* calculated, int32_t* markerCodes,
                           float* markerPositions);

/* _getrdf@20: values (out: ZD_RDF_POINTS values at R = range / ZD_RDF_POINTS,
 * 2 range / ZD_RDF_POINTS, ..., range; the binding passes the second element
 * of an array whose element i is plotted at R = i range / ZD_RDF_POINTS),
 * range (Angstrom), phase (1-based), kind (1 PDF, 2 G, 3 D, 4 T, 5 N),
 * status (out). */
typedef void (*TZdGetRdf)(float* values, float* range, int32_t* phase, int32_t* kind,
                          int32_t* status);

/* _getplotinfo@20: histogram, number of points (out), number of markers
 * (out), start (out), step (out). */
typedef void (*TZdGetPlotInfo)(int32_t* histogram, int32_t* pointCount, int32_t* markerCount,
                               float* start, float* step);

/* _quickclose@0: the run is abandoned. */
typedef void (*TZdQuickClose)(void);

/* _closemem@4: status (out; 0 when the engine released its memory). */
typedef void (*TZdCloseMem)(int32_t* status);

/* _getpar@28: histogram, phase, atom, type, value (out), standard error
 * (out), status (out; 0 on success). */
typedef void (*TZdGetPar)(int32_t* histogram, int32_t* phase, int32_t* atom, int32_t* type,
                          float* value, float* esd, int32_t* status);

/* _getpar2@16: refinement number (negative for a negatively coded
 * parameter; the sign does not matter), value (out), standard error (out),
 * status (out; 0 on success). */
typedef void (*TZdGetPar2)(int32_t* number, float* value, float* esd, int32_t* status);

/* _getverdll@4: version (out). Optional. */
typedef void (*TZdGetVerDll)(float* version);

/* _setpar@24: histogram, phase, atom, type, value, status (out). Optional. */
typedef void (*TZdSetPar)(int32_t* histogram, int32_t* phase, int32_t* atom, int32_t* type,
                          float* value, int32_t* status);

/* _getfour@36: histogram, phase, axis (1..3), map kind (0 Fourier obs,
 * 1 Fourier calc, 2 Fourier diff, 3 Patterson obs, 4 Patterson calc,
 * 5 Patterson diff), busy (0 when the run is over, else 1), minimum (out),
 * maximum (out), map (out: ZD_FOURIER_GRID^3 reals), status (out; 0 on
 * success). Looked up by the Fourier window through the binding's handle. */
typedef void (*TZdGetFour)(int32_t* histogram, int32_t* phase, int32_t* axis, int32_t* kind,
                           int32_t* busy, float* minimum, float* maximum, float* map,
                           int32_t* status);

/* ---- What the engine library defines (exported plain names) ---- */
#define ZD_EXPORT __attribute__((visibility("default")))
void ZD_EXPORT startprog(int32_t* histogramCount, int32_t* idsz, int32_t* irs, int32_t* nipoi,
                         char* inputFile, char* dataFile, char* outputFile, char* baseName,
                         int32_t* error);
void ZD_EXPORT closeprog(int32_t* histogramCount, int32_t* update, int32_t* error);
void ZD_EXPORT iteration(int32_t* histogramCount, int32_t* cycle, int32_t* converged,
                         int32_t* error);
void ZD_EXPORT getinfo(int32_t* histogram, float* rp, float* rwp, float* chi2, float* fifth,
                       float* array1, float* array2, float* array3);
void ZD_EXPORT getstatus(float* percent);
void ZD_EXPORT putinfo(int32_t* histogram, int32_t* kind, float* values);
void ZD_EXPORT getplot(int32_t* histogram, int32_t* idle, int32_t* status, float* x,
                       float* observed, float* calculated, int32_t* markerCodes,
                       float* markerPositions);
void ZD_EXPORT getrdf(float* values, float* range, int32_t* phase, int32_t* kind,
                      int32_t* status);
void ZD_EXPORT getplotinfo(int32_t* histogram, int32_t* pointCount, int32_t* markerCount,
                           float* start, float* step);
void ZD_EXPORT quickclose(void);
void ZD_EXPORT closemem(int32_t* status);
void ZD_EXPORT getpar(int32_t* histogram, int32_t* phase, int32_t* atom, int32_t* type,
                      float* value, float* esd, int32_t* status);
void ZD_EXPORT getpar2(int32_t* number, float* value, float* esd, int32_t* status);
void ZD_EXPORT getverdll(float* version);
void ZD_EXPORT setpar(int32_t* histogram, int32_t* phase, int32_t* atom, int32_t* type,
                      float* value, int32_t* status);
void ZD_EXPORT getfour(int32_t* histogram, int32_t* phase, int32_t* axis, int32_t* kind,
                       int32_t* busy, float* minimum, float* maximum, float* map,
                       int32_t* status);
#undef ZD_EXPORT

#ifdef __cplusplus
}
#endif

#endif /* ZUDEZEZ_API_H */
