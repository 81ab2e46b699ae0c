#pragma once
// A text box validator for texts that go into the program's Windows-1251
// files and requests: only characters of the code page, no control
// characters.  A typed or pasted text holding anything else is refused whole.
#include <QValidator>

namespace vk {

class Cp1251Validator : public QValidator {
    Q_OBJECT
public:
    explicit Cp1251Validator(QObject* parent = nullptr);
    State validate(QString& input, int& pos) const override;

    static bool Storable(const QString& text);
};

} // namespace vk
