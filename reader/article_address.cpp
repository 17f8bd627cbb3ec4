#include "reader/article_address.hpp"
