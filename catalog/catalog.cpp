#include "catalog/catalog.hpp"
