// ArrayWalk: the element walk of arrays, shared by the record codec, DATA
// and the other statements that move whole arrays element by element.
#include <velbra/TypeBase.h>
#include <morka/System.h>

namespace morka {

void b_WalkArray(CItem const& item, CTypeVisitor& visitor, t_MapWalk eMapWalk) {
    switch (item.cType) {
    case 'C':
    case 'T':
        b_WalkRecordArray(item.pMap, item.iRows, item.iCols, visitor, eMapWalk);
        return;
    default:
        // Numeric and string arrays arrive with the array classes.
        throw static_cast<int>(MORKA_ETYPECODE);
    }
}

}  // namespace morka
