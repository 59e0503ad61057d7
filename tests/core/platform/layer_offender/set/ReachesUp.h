// A file of the set that reaches up into the document: the folder check must refuse it.
#pragma once

#include "document/CTavroDoc.h"
