#include "core/http.hpp"
