#pragma once
#include <QIcon>
#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

// What every descriptor of the collection tells Qt Designer about its widget class: the class name, the
// widget-box group, the header ("<Class>.h"), the icon, whether it holds other widgets and the XML put on a
// form when it is dropped. A subclass per widget class creates the widget; the two containers with
// container extensions also register their extension factory in initialize.
class WidgetDescriptor : public QObject, public QDesignerCustomWidgetInterface
{
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    struct Info
    {
        QString Name;
        QString Group;
        bool Container;
        QString DomXml;
        // False: an empty icon.
        bool LibraryIcon = true;
    };

    WidgetDescriptor(const Info& info, QObject* parent);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    bool isContainer() const override;
    bool isInitialized() const override;
    void initialize(QDesignerFormEditorInterface* core) override;
    QString domXml() const override;

protected:
    // Called once, by the first initialize.
    virtual void InitializeEvent(QDesignerFormEditorInterface* core);

private:
    Info m_Info;
    bool m_Initialized = false;
};
