#include "reader/render_article.hpp"
