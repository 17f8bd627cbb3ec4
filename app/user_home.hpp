// SPDX-License-Identifier: GPL-3.0-or-later
// Keeping the web engine's certificate store out of the user's home. The engine opens its NSS
// certificate database (cert9.db, key4.db, pkcs11.txt) in $HOME/.pki/nssdb at the first https
// connection, creating the folder; HOME is the only thing that decides where, and no setting of
// the engine turns it off. So the program points HOME where no folder can be made, and the
// engine keeps its certificate store in memory. Everything else that would follow HOME is
// pinned to the user's real folders first, through the variables that take precedence over it.
#pragma once

#include <QByteArray>

// Pins the XDG base folders and the X and ICE authority files to their places under the
// user's home, then points HOME away from it. Call once, after the application object exists
// (the window system connection and the font configuration are made with the real HOME) and
// before the first https connection; RunProgram calls it right after the window's load handler.
void KeepCertificateStoreOutOfHome();

// Puts the user's own HOME back for as long as it lives, for programs started from here (the
// desktop's browser, for a link) that need it.
class ScopedUserHome {
 public:
  ScopedUserHome();
  ~ScopedUserHome();
  ScopedUserHome(const ScopedUserHome&) = delete;
  ScopedUserHome& operator=(const ScopedUserHome&) = delete;

 private:
  QByteArray replaced_;
};
