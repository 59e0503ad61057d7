// A core file that opens a file behind the file door's back: the file check must refuse it.
#pragma once

#include <fstream>
