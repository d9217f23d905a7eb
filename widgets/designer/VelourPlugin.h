#pragma once
#include <QList>
#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>

// The Qt Designer plugin of the Velour widget library: the collection of the widget descriptors. Creating
// it switches the library into designer mode for the rest of the process (DesignerMode): forms get no
// shadow window and inner widgets carry passive object names.
class VelourPlugin : public QObject, public QDesignerCustomWidgetCollectionInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

public:
    explicit VelourPlugin(QObject* parent = nullptr);
    // The descriptors are children of the collection and go with it.
    ~VelourPlugin() override;

    QList<QDesignerCustomWidgetInterface*> customWidgets() const override;

private:
    QList<QDesignerCustomWidgetInterface*> m_Widgets;
};
