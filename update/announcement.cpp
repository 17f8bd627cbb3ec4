#include "update/announcement.hpp"
