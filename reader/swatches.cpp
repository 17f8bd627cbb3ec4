#include "reader/swatches.hpp"
