*> Working storage shared by the benchmark programs: file status, counts,
*> the clock and the header record of the key file (record count, rewrites).
01 WS-STATUS       PIC XX.
01 WS-KEY-STATUS   PIC XX.
01 WS-COUNT        PIC 9(9) COMP-5.
01 WS-REWRITES     PIC 9(9) COMP-5.
01 WS-I            PIC 9(9) COMP-5.
01 WS-T0           PIC S9(18) COMP-5.
01 WS-T1           PIC S9(18) COMP-5.
01 WS-NS           PIC 9(18).
01 WS-PHASE        PIC X(16).
01 WS-HEADER.
   05 WS-H-COUNT    PIC 9(8).
   05 WS-H-REWRITES PIC 9(8).
