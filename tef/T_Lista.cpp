#include "tef/T_Lista.h"

#include "frame/QMXExport.h"
#include "tef/LinhaArqTEF.h"

// The list of TEF lines is part of the exported interface: its members are
// instantiated here, once, with the library's exports.
template class QMX_API T_Lista<CLinhaArqTEF>;
