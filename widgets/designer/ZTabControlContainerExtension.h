#pragma once
#include <QObject>
#include <QtDesigner/QDesignerContainerExtension>
#include <QtDesigner/QExtensionFactory>

class ZTabControl;

// Lets Designer add, insert and remove the pages of a tab control. A dropped ZTabPage becomes a page
// itself; any other widget dropped on the control becomes a new page carrying that widget's object name.
class ZTabControlContainerExtension : public QObject, public QDesignerContainerExtension
{
    Q_OBJECT
    Q_INTERFACES(QDesignerContainerExtension)

public:
    ZTabControlContainerExtension(ZTabControl* control, QObject* parent);

    int count() const override;
    // Null for an index outside 0 .. count - 1.
    QWidget* widget(int index) const override;
    int currentIndex() const override;
    void setCurrentIndex(int index) override;
    void addWidget(QWidget* widget) override;
    void insertWidget(int index, QWidget* widget) override;
    void remove(int index) override;

private:
    ZTabControl* m_Control;
};

class ZTabControlExtensionFactory : public QExtensionFactory
{
    Q_OBJECT

public:
    explicit ZTabControlExtensionFactory(QExtensionManager* parent);

protected:
    // A container extension for a ZTabControl asked for by the container interface id; else null.
    QObject* createExtension(QObject* object, const QString& iid, QObject* parent) const override;
};
