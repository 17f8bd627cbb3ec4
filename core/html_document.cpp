#include "core/html_document.hpp"
