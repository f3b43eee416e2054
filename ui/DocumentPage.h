#pragma once

#include <string>

class QDialog;
class QWidget;

// Help → Model and Help → Guide: a page of docs/, built into the program, rendered with its
// pictures in a window of its own that stays open beside the main window while it runs. Deleted
// when closed. name: "model" for docs/model.md.
QDialog* ShowDocumentPage(QWidget* parent, const std::string& name, const std::string& title);
