#include "dialogs/DisclaimerMessage.h"

DisclaimerMessage::DisclaimerMessage(HWND parent) {
  MessageBoxW(parent,
              L"Your data for Keyfolio for Flash Drives is encrypted on your flash drive so it is "
              L"safe. If your data is lost or stolen, immediately change your passwords for all "
              L"your accounts. Quillmark is not liable for any damage caused by lost or stolen "
              L"data.",
              L"Keyfolio for Flash Drives", MB_OK);
}
