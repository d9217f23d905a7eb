#pragma once
#include <QList>
#include <QObject>
#include <QPointer>
#include <QtDesigner/QDesignerContainerExtension>
#include <QtDesigner/QExtensionFactory>

class ZScrollPanel;

// Lets Designer put widgets into a scroll panel: an added widget becomes the panel's child, and the panel
// adopts a ZPanel as its scrolled content. Removing does nothing (the content stays with the panel).
class ZScrollPanelContainerExtension : public QObject, public QDesignerContainerExtension
{
    Q_OBJECT
    Q_INTERFACES(QDesignerContainerExtension)

public:
    ZScrollPanelContainerExtension(ZScrollPanel* panel, QObject* parent);

    // Widgets added through this extension and still alive (Designer deletes widgets on its own).
    int count() const override;
    // Null for an index outside those widgets.
    QWidget* widget(int index) const override;
    // 0 while the panel has its content panel, else -1.
    int currentIndex() const override;
    void setCurrentIndex(int index) override;
    void addWidget(QWidget* widget) override;
    // The same as addWidget: the index is ignored.
    void insertWidget(int index, QWidget* widget) override;
    void remove(int index) override;

private:
    // Forgets the widgets that were deleted meanwhile.
    void Prune() const;

    ZScrollPanel* m_Panel;
    mutable QList<QPointer<QWidget>> m_Widgets;
};

class ZScrollPanelExtensionFactory : public QExtensionFactory
{
    Q_OBJECT

public:
    explicit ZScrollPanelExtensionFactory(QExtensionManager* parent);

protected:
    // A container extension for a ZScrollPanel asked for by the container interface id; else null.
    QObject* createExtension(QObject* object, const QString& iid, QObject* parent) const override;
};
