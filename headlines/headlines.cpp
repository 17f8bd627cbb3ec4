#include "headlines/headlines.hpp"
