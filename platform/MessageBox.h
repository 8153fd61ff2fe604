#pragma once

#include <string>

enum class MessageBoxIcon { Information, Warning, Error };

// Shows a modal message box with no owner window. When no display can show
// it (headless, no X server), caption and text go to standard error instead.
void ShowMessageBox(const std::string& caption, const std::string& text,
                    MessageBoxIcon icon = MessageBoxIcon::Error);
