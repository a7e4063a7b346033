/* CPU time of the process (user and system) in nanoseconds, for the COBOL
   benchmark programs: CALL "cpu_nanos" USING a PIC S9(18) COMP-5 item. */
#include <time.h>

int cpu_nanos(long long* pNanos);

int cpu_nanos(long long* pNanos) {
    struct timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    *pNanos = (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec;
    return 0;
}
