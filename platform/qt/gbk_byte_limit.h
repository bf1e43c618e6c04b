// Keeps a one-line edit box within a number of bytes counted in GBK, where
// a Chinese character takes two. Like the native limit it stands in for, it
// accepts any character, and an insertion that does not fit is cut short
// rather than refused whole: pasting "12345" into an empty box gives "123".
#pragma once

#include <QValidator>

namespace morvane {

class GbkByteLimit : public QValidator {
 public:
  GbkByteLimit(int maxBytes, QObject* parent) : QValidator(parent), maxBytes_(maxBytes) {}

  State validate(QString& input, int& pos) const override;

 private:
  int maxBytes_;
};

}  // namespace morvane
