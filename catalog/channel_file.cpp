#include "catalog/channel_file.hpp"
