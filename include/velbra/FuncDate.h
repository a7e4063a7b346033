// FuncDate: day numbers, date texts, times of day, the strftime-like Strtime
// and the two seconds scales. A day number counts 1900-01-01 as day 1
// (1970-01-01 is 25568). The local seconds scale (Localtime, Days, Seconds)
// counts from 1969-12-31 00:00 local time, so 1970-01-01 00:00 is 86400; the
// UTC scale (Timestamp) is the same count from 1969-12-31 00:00 UTC. Every
// computation is 64-bit: nothing overflows in 2038. The date options come
// from the settings: cDateForm, iDateIn, iDateOut, bGlibcTime. No function
// raises a BASIC error.
#pragma once

#include <ctime>
#include <morka/CBString.h>
#include <velbra/Flavour.h>

namespace morka {

// Month lengths [leap][month], month 1..12, entry 0 holding 0.
extern int const b_aiDays[2][13];
// The abbreviations of %b and %h, three bytes each in the system set.
extern char const _short_monthnames[12][4];

// Date: the date of a day number in the output form (cDateForm, iDateOut);
// only the low 16 bits of the number count (days 1..65535). 0 gives today.
// A real is truncated toward zero first; a NaN or a value beyond 64 bits
// counts as a number whose low 16 bits are 0.
CBString Date(int day);
CBString Date(dfp_t day);
// Dte: a date text re-written in the output form; empty when it is no date.
CBString Dte(char const* text);
// Day: the day number of a date text (the form of cDateForm, or 6 or 8
// digits); -1 when the text is not a valid date of the years 1900..2099.
dfp_t Day(char const* text);
// Second: h * 3600 + m * 60 + s of a text "h:m:s"; missing parts count 0
// (an empty or null text gives 0); the sum saturates to the int range.
int Second(char const* text);
// Time: "hh:mm:ss" of seconds 1..86399; 0 gives the current local time;
// anything else "00:00:00".
CBString Time(int seconds);
// Strtime: day number and seconds of the day formatted by a strftime-like
// format (the run-time's own conversions, or the system library's when
// bGlibcTime is set). The whole day number counts; seconds 0 is midnight.
CBString Strtime(char const* format, int day, int seconds);
CBString Strtime(CBString const& format, int day, int seconds);
// b_strftime: the run-time's formatter over a completed time record.
CBString b_strftime(char const* format, std::tm const& tm);

// Localtime: system time t (seconds since 1970-01-01 00:00 UTC, truncated) on
// the local seconds scale; 0 when the system cannot convert t.
dfp_t Localtime(dfp_t t);
// Days: the day number of a local-scale value (x / 86400 + 25567, truncated
// toward zero; saturates to the int range).
int Days(dfp_t x);
// Seconds: the integer part of x modulo 86400 (negative x, negative result).
int Seconds(dfp_t x);
// Timestamp: a local day number and time on the UTC scale; 0 for either part
// means now; a day below 25567 gives 0. The UTC offset is that of the
// current moment.
dfp_t Timestamp(int day, int seconds);

// b_YearDatein: a year read from a date text, expanded by iDateIn (years
// above 99 unchanged).
int b_YearDatein(int year);
// b_DaysSince1899: day number of a date; b_DaysSince1969_12_31: days counted
// from 1969-12-31. A month outside 1..12 carries into the year; results
// saturate to the int range.
int b_DaysSince1899(int y, int m, int d);
int b_DaysSince1969_12_31(int y, int m, int d);
// b_time2DaysSeconds: local day number and seconds of the day of system time
// t (both 0 when the conversion fails).
void b_time2DaysSeconds(long t, int& day, int& seconds);

}  // namespace morka
