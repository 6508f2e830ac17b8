// TPreferencesForm: the Preferences dialog of the hidden Edit item. It
// holds no settings yet; OK only confirms with a beep.
#pragma once

#include <QDialog>

class TPreferencesForm : public QDialog {
  Q_OBJECT

public:
  explicit TPreferencesForm(QWidget* owner);
};
