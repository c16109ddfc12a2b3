// Map from one indirect reference to another: the document's copy map (old
// reference to the reference of its copy) and renumbering map.
#pragma once
#include "koyo/object/CPDFObjRef.h"
#include "koyo/object/TempDict.h"

namespace koyo {

using ObjRefMap = TempDict<CPDFObjRef, CPDFObjRef>;

}  // namespace koyo
