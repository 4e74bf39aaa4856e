<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>QFile</name>
    <message>
        <source>Filename refers to a directory</source>
        <translation>Filename refers to a directory</translation>
    </message>
</context>
<context>
    <name>bm::CommPort</name>
    <message>
        <source>No device is assigned to COM%1</source>
        <translation>No device is assigned to COM%1</translation>
    </message>
</context>
<context>
    <name>bm::DownloadProgress</name>
    <message>
        <source>下载进度</source>
        <translation>download progress</translation>
    </message>
    <message>
        <source>缺少 %1 条记录</source>
        <translation>%1 records missing</translation>
    </message>
    <message>
        <source>补读 %1  剩余 %2</source>
        <translation>Re-reading %1  %2 left</translation>
    </message>
    <message>
        <source>%1  剩余 %2</source>
        <translation>%1  %2 left</translation>
    </message>
</context>
<context>
    <name>bm::MainWindow</name>
    <message>
        <source>readings panel</source>
        <translation>readings panel</translation>
    </message>
    <message>
        <source>serial port status</source>
        <translation>serial port status</translation>
    </message>
    <message>
        <source>communication status</source>
        <translation>communication status</translation>
    </message>
    <message>
        <source>view tabs</source>
        <translation>view tabs</translation>
    </message>
    <message>
        <source>records table</source>
        <translation>records table</translation>
    </message>
    <message>
        <source>status bar</source>
        <translation>status bar</translation>
    </message>
    <message>
        <source>date</source>
        <translation>date</translation>
    </message>
    <message>
        <source>time</source>
        <translation>time</translation>
    </message>
    <message>
        <source>COM%1已打开</source>
        <translation>COM%1 open</translation>
    </message>
    <message>
        <source>COM%1被占用</source>
        <translation>COM%1 busy</translation>
    </message>
    <message>
        <source>COM%1无效</source>
        <translation>COM%1 absent</translation>
    </message>
    <message>
        <source>COM%1打开失败</source>
        <translation>COM%1 failed</translation>
    </message>
    <message>
        <source>通信成功</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>通信失败</source>
        <translation>No link</translation>
    </message>
    <message>
        <source>欢迎使用我们公司产品</source>
        <translation>Welcome to our product</translation>
    </message>
    <message>
        <source>Brackenmoor(CN)<byte value="xd"/>   如需帮助请联系我们!<byte value="xd"/></source>
        <translation>Brackenmoor(CN)<byte value="xd"/>   For help, please contact us!<byte value="xd"/></translation>
    </message>
    <message>
        <source>读取</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>串口状态</source>
        <translation>Port status</translation>
    </message>
    <message>
        <source>实时监控</source>
        <translation>Live</translation>
    </message>
    <message>
        <source>历史查询</source>
        <translation>Records</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>File</translation>
    </message>
    <message>
        <source>操作</source>
        <translation>Operate</translation>
    </message>
    <message>
        <source>关于软件</source>
        <translation>About</translation>
    </message>
    <message>
        <source>将用户加入 dialout 组并重新登录后即可使用此端口</source>
        <translation>Join the dialout group and log in again to use this port</translation>
    </message>
    <message>
        <source>土壤分析</source>
        <translation>Soil analysis</translation>
    </message>
    <message>
        <source>导出CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>实时趋势</source>
        <translation>Live Trend</translation>
    </message>
    <message>
        <source>另存为</source>
        <translation>Save As</translation>
    </message>
</context>
<context>
    <name>bm::OutputCommands</name>
    <message>
        <source>打印机不可用: </source>
        <translation>Printer not available: </translation>
    </message>
    <message>
        <source>打印机无法开始打印</source>
        <translation>The printer could not start printing</translation>
    </message>
    <message>
        <source>没有窗口图像</source>
        <translation>No picture of the window</translation>
    </message>
    <message>
        <source>Saving Error!</source>
        <translation>Saving Error!</translation>
    </message>
    <message>
        <source>文件保存出错.</source>
        <translation>The file could not be saved.</translation>
    </message>
    <message>
        <source>Printing Error!</source>
        <translation>Printing Error!</translation>
    </message>
    <message>
        <source>文件打印出错.</source>
        <translation>Printing failed.</translation>
    </message>
    <message>
        <source>jpg格式 (*.jpg)|*.jpg|txt格式 (*.txt)|*.txt|</source>
        <translation>JPEG picture (*.jpg)|*.jpg|Text (*.txt)|*.txt|</translation>
    </message>
    <message>
        <source>txt格式 (*.txt)|*.txt|excel格式 (*.xls)|*.xls|</source>
        <translation>Text (*.txt)|*.txt|Excel workbook (*.xls)|*.xls|</translation>
    </message>
    <message>
        <source>csv格式 (*.csv)|*.csv|</source>
        <translation>CSV (*.csv)|*.csv|</translation>
    </message>
</context>
<context>
    <name>bm::ReadingsPanel</name>
    <message>
        <source>EARTH VOLTAGE:</source>
        <translation>EARTH VOLTAGE:</translation>
    </message>
    <message>
        <source>R EARTH:</source>
        <translation>R EARTH:</translation>
    </message>
    <message>
        <source>ρ EARTH:</source>
        <translation>ρ EARTH:</translation>
    </message>
    <message>
        <source>ρ LENGTH:</source>
        <translation>ρ LENGTH:</translation>
    </message>
    <message>
        <source>Rc:</source>
        <translation>Rc:</translation>
    </message>
    <message>
        <source>Rp:</source>
        <translation>Rp:</translation>
    </message>
    <message>
        <source>earth voltage</source>
        <translation>earth voltage</translation>
    </message>
    <message>
        <source>earth resistance</source>
        <translation>earth resistance</translation>
    </message>
    <message>
        <source>soil resistivity</source>
        <translation>soil resistivity</translation>
    </message>
    <message>
        <source>electrode spacing</source>
        <translation>electrode spacing</translation>
    </message>
    <message>
        <source>current electrode resistance Rc</source>
        <translation>current electrode resistance Rc</translation>
    </message>
    <message>
        <source>potential electrode resistance Rp</source>
        <translation>potential electrode resistance Rp</translation>
    </message>
    <message>
        <source>high interference voltage warning</source>
        <translation>high interference voltage warning</translation>
    </message>
    <message>
        <source>noise warning</source>
        <translation>noise warning</translation>
    </message>
    <message>
        <source>low battery warning</source>
        <translation>low battery warning</translation>
    </message>
</context>
<context>
    <name>bm::SoilWindow</name>
    <message>
        <source>没有可分析的读数。</source>
        <translation>There are no readings to analyse.</translation>
    </message>
    <message>
        <source>没有间距和电阻率都为正的选用读数。</source>
        <translation>No included reading has a positive spacing and resistivity.</translation>
    </message>
    <message>
        <source>双层模型需要至少三个不同间距的读数；选用的读数只有 %1 个间距，因此只给出均匀模型。</source>
        <translation>The two-layer model needs readings at three or more different spacings; the included readings have %1, so only the uniform model is given.</translation>
    </message>
    <message>
        <source>读数的范围过宽，无法拟合双层模型；只给出均匀模型。</source>
        <translation>The readings span too wide a range for the two-layer model; only the uniform model is given.</translation>
    </message>
    <message>
        <source>双层模型无法拟合这些读数；只给出均匀模型。</source>
        <translation>The two-layer model could not be fitted to these readings; only the uniform model is given.</translation>
    </message>
    <message>
        <source>这些读数分辨不出两层：最佳双层拟合位于这些间距所能反映范围的边缘。均匀模型同样能描述该土壤。</source>
        <translation>The readings do not resolve two layers: the best two-layer fit lies at the edge of what these spacings can show. The uniform model describes the ground as well.</translation>
    </message>
    <message>
        <source>三层模型需要至少五个不同间距的读数；选用的读数只有 %1 个间距，因此不拟合三层模型。</source>
        <translation>The three-layer model needs readings at five or more different spacings; the included readings have %1, so no three-layer model is fitted.</translation>
    </message>
    <message>
        <source>三层模型无法拟合这些读数。</source>
        <translation>The three-layer model could not be fitted to these readings.</translation>
    </message>
</context>
<context>
    <name>bm::TrendWindow</name>
    <message>
        <source>接地电压 (V)</source>
        <translation>Earth voltage (V)</translation>
    </message>
    <message>
        <source>接地电阻 (Ω)</source>
        <translation>Earth resistance (Ω)</translation>
    </message>
    <message>
        <source>土壤电阻率 (Ωm)</source>
        <translation>Soil resistivity (Ωm)</translation>
    </message>
    <message>
        <source>实时趋势</source>
        <translation>Live Trend</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>导出CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>导出PNG</source>
        <translation>Export PNG</translation>
    </message>
    <message>
        <source>Rc / Rp (Ω)</source>
        <translation>Rc / Rp (Ω)</translation>
    </message>
    <message>
        <source>继续</source>
        <translation>Resume</translation>
    </message>
    <message numerus="yes">
        <source>%n 个读数</source>
        <translation>
            <numerusform>%n reading</numerusform>
            <numerusform>%n readings</numerusform>
        </translation>
    </message>
    <message>
        <source>%1(已暂停)</source>
        <translation>%1 (paused)</translation>
    </message>
    <message>
        <source>csv格式 (*.csv)</source>
        <translation>CSV (*.csv)</translation>
    </message>
    <message>
        <source>png格式 (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message>
        <source>无法生成文件内容</source>
        <translation>The file contents could not be made</translation>
    </message>
    <message>
        <source>保存出错</source>
        <translation>Saving Error</translation>
    </message>
    <message>
        <source>无法保存 %1:
%2</source>
        <translation>Cannot save %1:
%2</translation>
    </message>
</context>
<context>
    <name>bm::soil::SoilChart</name>
    <message>
        <source>电极间距 a (m)</source>
        <translation>Electrode spacing a (m)</translation>
    </message>
    <message>
        <source>视电阻率 ρa (Ω·m)</source>
        <translation>Apparent resistivity ρa (Ω·m)</translation>
    </message>
    <message>
        <source>计入的读数</source>
        <translation>Included readings</translation>
    </message>
    <message>
        <source>排除的读数</source>
        <translation>Excluded readings</translation>
    </message>
</context>
<context>
    <name>bm::soil::SoilFigures</name>
    <message>
        <source>双层模型</source>
        <translation>Two-layer model</translation>
    </message>
    <message>
        <source>均匀土壤模型</source>
        <translation>Uniform soil model</translation>
    </message>
    <message>
        <source>上层电阻率 ρ1</source>
        <translation>Top layer resistivity ρ1</translation>
    </message>
    <message>
        <source>下层电阻率 ρ2</source>
        <translation>Bottom layer resistivity ρ2</translation>
    </message>
    <message>
        <source>上层厚度 h</source>
        <translation>Top layer thickness h</translation>
    </message>
    <message>
        <source>反射系数 K</source>
        <translation>Reflection factor K</translation>
    </message>
    <message>
        <source>均方根误差</source>
        <translation>RMS error</translation>
    </message>
    <message>
        <source>电阻率 ρ</source>
        <translation>Resistivity ρ</translation>
    </message>
    <message>
        <source>三层模型</source>
        <translation>Three-layer model</translation>
    </message>
    <message>
        <source>第一层电阻率 ρ1</source>
        <translation>First layer resistivity ρ1</translation>
    </message>
    <message>
        <source>第一层厚度 h1</source>
        <translation>First layer thickness h1</translation>
    </message>
    <message>
        <source>第二层电阻率 ρ2</source>
        <translation>Second layer resistivity ρ2</translation>
    </message>
    <message>
        <source>第二层厚度 h2</source>
        <translation>Second layer thickness h2</translation>
    </message>
    <message>
        <source>第三层电阻率 ρ3</source>
        <translation>Third layer resistivity ρ3</translation>
    </message>
    <message>
        <source>选用三层模型。</source>
        <translation>The three-layer model is chosen.</translation>
    </message>
    <message>
        <source>选用双层模型。</source>
        <translation>The two-layer model is chosen.</translation>
    </message>
    <message>
        <source>选用均匀土壤模型。</source>
        <translation>The uniform model is chosen.</translation>
    </message>
    <message>
        <source>只有当残差的F检验在1%水平上表明更多层的模型显著更好时，才选用更多层的模型。</source>
        <translation> More layers are chosen only when an F-test on the residuals finds them significantly better at the 1 % level.</translation>
    </message>
    <message>
        <source>测线 %1（%2 个读数）：</source>
        <translation>Traverse %1 (%2 readings): </translation>
    </message>
    <message>
        <source>ρ1 %1，ρ2 %2，h %3，均方根误差 %4</source>
        <translation>ρ1 %1, ρ2 %2, h %3, RMS error %4</translation>
    </message>
    <message>
        <source>均匀 ρ %1，均方根误差 %2</source>
        <translation>uniform ρ %1, RMS error %2</translation>
    </message>
    <message>
        <source>无模型</source>
        <translation>no model</translation>
    </message>
    <message>
        <source>各测线的差异超出了残差所能解释的范围：场地土壤可能存在横向变化。</source>
        <translation>The traverses disagree by more than their residuals explain: the soil may change across the site.</translation>
    </message>
</context>
<context>
    <name>bm::soil::SoilPointModel</name>
    <message>
        <source>计入 / 记录</source>
        <translation>Included / record</translation>
    </message>
    <message>
        <source>间距 a (m)</source>
        <translation>Spacing a (m)</translation>
    </message>
    <message>
        <source>ρa (Ω·m)</source>
        <translation>ρa (Ω·m)</translation>
    </message>
    <message>
        <source>温纳</source>
        <translation>Wenner</translation>
    </message>
    <message>
        <source>施伦贝格</source>
        <translation>Schlumberger</translation>
    </message>
    <message>
        <source>排列</source>
        <translation>Array</translation>
    </message>
    <message>
        <source>MN/2 (m)</source>
        <translation>MN/2 (m)</translation>
    </message>
    <message>
        <source>测线</source>
        <translation>Traverse</translation>
    </message>
</context>
<context>
    <name>bm::soil::SoilReport</name>
    <message>
        <source>地点</source>
        <translation>Site</translation>
    </message>
    <message>
        <source>操作员</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>仪器</source>
        <translation>Instrument</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>记录</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>间距 a (m)</source>
        <translation>Spacing a (m)</translation>
    </message>
    <message>
        <source>ρa (Ω·m)</source>
        <translation>ρa (Ω·m)</translation>
    </message>
    <message>
        <source>计入</source>
        <translation>Included</translation>
    </message>
    <message>
        <source>是</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>no</translation>
    </message>
    <message>
        <source>土壤电阻率分析报告</source>
        <translation>Soil resistivity analysis report</translation>
    </message>
    <message>
        <source>模型</source>
        <translation>Models</translation>
    </message>
    <message>
        <source>温纳法读数</source>
        <translation>Wenner readings</translation>
    </message>
    <message>
        <source>下载的记录</source>
        <translation>Downloaded records</translation>
    </message>
    <message>
        <source>无法生成PDF</source>
        <translation>The PDF could not be made</translation>
    </message>
    <message>
        <source>排列</source>
        <translation>Array</translation>
    </message>
    <message>
        <source>MN/2 (m)</source>
        <translation>MN/2 (m)</translation>
    </message>
    <message>
        <source>测线</source>
        <translation>Traverse</translation>
    </message>
    <message>
        <source>各测线的拟合</source>
        <translation>Each traverse&apos;s fit</translation>
    </message>
</context>
<context>
    <name>bm::soil::SoilWindow</name>
    <message>
        <source>土壤分析</source>
        <translation>Soil analysis</translation>
    </message>
    <message>
        <source>导出报告</source>
        <translation>Export report</translation>
    </message>
    <message>
        <source>导出CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>报告</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>地点</source>
        <translation>Site</translation>
    </message>
    <message>
        <source>操作员</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>仪器</source>
        <translation>Instrument</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>PDF文件 (*.pdf)|*.pdf|</source>
        <translation>PDF document (*.pdf)|*.pdf|</translation>
    </message>
    <message>
        <source>CSV文件 (*.csv)|*.csv|</source>
        <translation>CSV file (*.csv)|*.csv|</translation>
    </message>
</context>
</TS>
