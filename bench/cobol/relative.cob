*> Record benchmark on a GnuCOBOL RELATIVE file (the phases: phases.cpy):
*> 128-byte records, ACCESS DYNAMIC, the record number in RELATIVE KEY.
*> Key file "keys.dat": a header record (record count and rewrites, 8 digits
*> each), then the write, read and rewrite orders, one record number a record
*> (16 digits).
IDENTIFICATION DIVISION.
PROGRAM-ID. bench-relative.
ENVIRONMENT DIVISION.
INPUT-OUTPUT SECTION.
FILE-CONTROL.
    SELECT KEY-FILE ASSIGN TO "keys.dat"
        ORGANIZATION IS SEQUENTIAL
        FILE STATUS IS WS-KEY-STATUS.
    SELECT DATA-FILE ASSIGN TO "relative.dat"
        ORGANIZATION IS RELATIVE
        ACCESS MODE IS DYNAMIC
        RELATIVE KEY IS DATA-KEY
        LOCK MODE IS AUTOMATIC
        FILE STATUS IS WS-STATUS.
DATA DIVISION.
FILE SECTION.
FD KEY-FILE.
01 KEY-RECORD PIC 9(16).
FD DATA-FILE.
01 DATA-RECORD.
   05 DATA-REST PIC X(128).
WORKING-STORAGE SECTION.
COPY "phase-data.cpy".
01 DATA-KEY        PIC 9(9) COMP-5.
01 WS-ORDERS.
   05 WS-WRITE-KEY   PIC 9(9) COMP-5 OCCURS 200000.
   05 WS-READ-KEY    PIC 9(9) COMP-5 OCCURS 200000.
   05 WS-REWRITE-KEY PIC 9(9) COMP-5 OCCURS 200000.
PROCEDURE DIVISION.
COPY "phases.cpy".
