// The family tables under the name the internal suites include.
#pragma once

#include "support/family_table.h"
