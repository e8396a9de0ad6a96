#include "dialogs/DisclaimerMessage.h"

DisclaimerMessage::DisclaimerMessage(HWND parent) {
  MessageBoxW(parent,
              L"Your data for Keyfolio for Flash Drives is kept on your flash drive in a "
              L"scrambled form. Scrambling is not strong encryption: anyone who has your flash "
              L"drive and the right tools can read your data, so keep the drive safe. If your "
              L"data is lost or stolen, immediately change your passwords for all your accounts. "
              L"Quillmark is not liable for any damage caused by lost or stolen data.",
              L"Keyfolio for Flash Drives", MB_OK);
}
