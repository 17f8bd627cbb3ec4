#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plants one violation at a time in a copy of the layer folders; the layer check must name each.
set -uo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cases=(
  'reader/render_article.cpp|#include "app/form1.hpp"'
  'core/text.cpp|#include "headlines/headlines.hpp"'
  'core/text.cpp|#include <reader/render_article.hpp>'
  'core/charset.cpp|#include "../update/announcement.hpp"'
  'headlines/headlines.cpp|#include "reader/swatches.hpp"  // a comment after it'
  'update/announcement.cpp|#include <tests/support/scoped_env.hpp>'
  'catalog/catalog.cpp|#include "reader/swatches.hpp"'
  'cli/commands.cpp|#include "app/program.hpp"'
  'app/form1.cpp|#include "cli/output.hpp"'
  'core/text.cpp|#include <QString>'
  'update/announcement.cpp|#include <QtCore/QString>'
  'cli/output.cpp|#include <QByteArray>'
  'core/downloader.cpp|#include <curl/curl.h>'
  'core/http.cpp|#include <gumbo.h>'
  'reader/today_article.cpp|#include <gumbo.h>'
  'reader/today_article.cpp|#include <nlohmann/json.hpp>'
)
failures=0
for case in "${cases[@]}"; do
  file=${case%%|*}
  line=${case#*|}
  rm -rf "$work/tree" && mkdir "$work/tree"
  for folder in core catalog headlines reader update cli app; do
    cp -r "$source_dir/$folder" "$work/tree/"
  done
  echo "$line" >>"$work/tree/$file"
  if output=$("$source_dir/scripts/check-layers" "$work/tree" 2>&1); then
    echo "not caught: $line in $file" >&2
    failures=$((failures + 1))
  elif ! grep -qF "$file:" <<<"$output"; then
    echo "caught, but not named: $line in $file: $output" >&2
    failures=$((failures + 1))
  fi
done
echo "$(( ${#cases[@]} - failures )) passed, $failures failed"
[ "$failures" -eq 0 ]
