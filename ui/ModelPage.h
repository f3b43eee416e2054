#pragma once

class QDialog;
class QWidget;

// Help → Model: docs/model.md, built into the program, rendered in a window of its own that stays
// open beside the main window while it runs. Deleted when closed.
QDialog* ShowModelPage(QWidget* parent);
