#include "core/charset.hpp"
