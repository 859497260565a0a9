// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>

class QLabel;

#include <concepts>
#include <functional>
#include <optional>

namespace TaskButtons {

// A title looked up in the translations (context + source text); the label follows language changes.
struct LocalizedStringKey {
    LocalizedStringKey(const char* context, const char* key) : context(context), key(key) {}
    QString localized() const;

    QByteArray context;
    QByteArray key;
};

// An icon by its theme name, shown before the title.
struct SystemImage {
    explicit SystemImage(QString name) : name(std::move(name)) {}
    QString name;
};

enum class ButtonRole { destructive, cancel };

struct ButtonOptions {
    std::optional<ButtonRole> role;
    // Registers the button for TriggerButton::trigger while it is on screen.
    std::optional<QString> id;
};

// What a button shows: a view of the caller's, a localized title, or a plain title, the titles with an
// optional icon. A builder must make a new view at each call: a button rebuilds its views when it moves
// under other styles.
class ButtonLabel {
public:
    template <std::invocable Builder>
    requires std::convertible_to<std::invoke_result_t<Builder>, QWidget*> ButtonLabel(Builder builder)
        : builder_(std::move(builder)) {}
    ButtonLabel(LocalizedStringKey titleKey);
    ButtonLabel(LocalizedStringKey titleKey, SystemImage image);
    ButtonLabel(QString title);
    ButtonLabel(const char* title) : ButtonLabel(QString::fromUtf8(title)) {}
    ButtonLabel(QString title, SystemImage image);

    QWidget* makeView() const { return builder_(); }

private:
    std::function<QWidget*()> builder_;
};

// The view of a titled label; the icon is hidden without an image name.
class TitleLabel : public QWidget {
    Q_OBJECT
public:
    TitleLabel(std::optional<LocalizedStringKey> key, QString title, std::optional<SystemImage> image,
               QWidget* parent = nullptr);
    QString text() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    std::optional<LocalizedStringKey> key_;
    QLabel* text_;
};

} // namespace TaskButtons
