#include "core/page_loader.hpp"
