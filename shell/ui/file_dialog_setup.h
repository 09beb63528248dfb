// How the desktop's open and save file dialogs are set up from a request.
#pragma once

class QFileDialog;
struct FileDialogRequest;

// Titles `dialog`, gives it the request's filters, suffix, mode and proposed
// name. A save dialog does not ask about an existing file itself: the save
// asks for the name it finally writes (mayReplace), so nobody answers twice.
void setUpFileDialog(QFileDialog& dialog, const FileDialogRequest& request);
