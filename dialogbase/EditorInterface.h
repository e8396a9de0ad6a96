// What the modal user interface needs of the main window's editor: refill the
// site list, put a new master password into the vault header, save the vault.
// The dialogs and the master password flows sit below the main window in the
// build (app/ uses them, never the other way round), so they reach the editor
// through this interface, which the editor implements and registers when it
// is made.
#pragma once

#include <string>

class EditorInterface {
 public:
  // The registered editor. Throws std::logic_error when none is: a dialog
  // that changes the vault cannot work without one.
  static EditorInterface& GetInstance();

  EditorInterface(const EditorInterface&) = delete;
  EditorInterface& operator=(const EditorInterface&) = delete;

  // Refills the site list from the site set and shows the current site.
  virtual void RefreshSiteList() = 0;
  // Stores the text as the vault header's master password (memory only).
  virtual void SetMasterPassword(const std::wstring& text) = 0;
  // Writes the whole vault now. False when it could not be written; the
  // vault file manager has told the user then.
  virtual bool SaveFileValues() = 0;

 protected:
  // Registers the object; the last one made is the one GetInstance gives.
  EditorInterface();
  // Unregisters it when it is the registered one.
  virtual ~EditorInterface();
};
