#include "core/downloader.hpp"
