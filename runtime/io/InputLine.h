// InputLine: the pieces the input statements share: reading a line into the
// record buffer, cutting one field from it, and storing a field in a variable.
#pragma once

#include <morka/CBString.h>
#include <morka/FileMngr.h>
#include <velbra/TypeBase.h>

namespace morka {

// The field separator: ';' when b_bConformToDoc and the decimal separator is
// not '.', else ','.
char b_InputSeparator();
// Reads one line into the record buffer of pFile (nFields 0). Returns true
// when it came from the keyboard (plain entry; pPrompt written first on
// channel 0 when not empty), false when the driver read it.
bool b_ReadInputLine(QXFILE* pFile, int channel, CBString const* pPrompt);
// Takes the next field from iReadPos; empty once the line is used up.
CBString b_FetchField(QXFILE* pFile);
// Converts a field into the variable of item ('d' 'i' 'l' 's').
void b_FieldToVar(CItem const& item, CBString const& sField);
// Fills an array operand (MAT INPUT) field by field.
void b_InputArrayItem(QXFILE* pFile, CItem const& item);

}  // namespace morka
