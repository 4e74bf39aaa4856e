<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>FileSaver</name>
    <message>
        <source>Saving Error!</source>
        <translation>Saving Error!</translation>
    </message>
    <message>
        <source>文件保存出错.</source>
        <translation>The file could not be saved.</translation>
    </message>
</context>
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
        <source>接地电阻分析</source>
        <translation>Earth resistance analysis</translation>
    </message>
    <message>
        <source>保存到现场记录…</source>
        <translation>Save to Site History…</translation>
    </message>
    <message>
        <source>现场记录</source>
        <translation>Site History</translation>
    </message>
    <message>
        <source>无法打开窗口</source>
        <translation>Cannot Open the Window</translation>
    </message>
    <message>
        <source>找不到窗口模块 %1,查找了:
%2</source>
        <translation>The window module %1 is in none of these folders:
%2</translation>
    </message>
    <message>
        <source>无法载入窗口模块:
%1</source>
        <translation>The window module cannot be loaded:
%1</translation>
    </message>
    <message>
        <source>窗口模块 %1 属于另一个版本的程序。</source>
        <translation>The window module %1 belongs to another version of the program.</translation>
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
        <source>无法生成文件内容</source>
        <translation>The file contents could not be made</translation>
    </message>
    <message>
        <source>csv格式 (*.csv)|*.csv|</source>
        <translation>CSV (*.csv)|*.csv|</translation>
    </message>
    <message>
        <source>png格式 (*.png)|*.png|</source>
        <translation>PNG (*.png)|*.png|</translation>
    </message>
</context>
<context>
    <name>bm::design::DesignFigures</name>
    <message>
        <source>均匀 %1</source>
        <translation>Uniform %1</translation>
    </message>
    <message>
        <source>双层 ρ1 %1，ρ2 %2，h %3</source>
        <translation>Two layers ρ1 %1, ρ2 %2, h %3</translation>
    </message>
    <message>
        <source>均匀土壤</source>
        <translation>uniform soil</translation>
    </message>
    <message>
        <source>上层</source>
        <translation>top layer</translation>
    </message>
    <message>
        <source>下层</source>
        <translation>lower layer</translation>
    </message>
    <message>
        <source>穿过分层的等效值</source>
        <translation>equivalent across the layers</translation>
    </message>
    <message>
        <source>单根接地极</source>
        <translation>Single rod</translation>
    </message>
    <message>
        <source>多根接地极</source>
        <translation>Rods</translation>
    </message>
    <message>
        <source>达到目标所需根数</source>
        <translation>Rods needed for a target</translation>
    </message>
    <message>
        <source>接地网</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>接地极长度</source>
        <translation>Rod length</translation>
    </message>
    <message>
        <source>接地极直径</source>
        <translation>Rod diameter</translation>
    </message>
    <message>
        <source>根数</source>
        <translation>Number of rods</translation>
    </message>
    <message>
        <source>目标电阻</source>
        <translation>Target resistance</translation>
    </message>
    <message>
        <source>间距</source>
        <translation>Spacing</translation>
    </message>
    <message>
        <source>布置</source>
        <translation>Arrangement</translation>
    </message>
    <message>
        <source>环形</source>
        <translation>Ring</translation>
    </message>
    <message>
        <source>直线</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>尺寸</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>导体根数</source>
        <translation>Conductors</translation>
    </message>
    <message>
        <source>埋深</source>
        <translation>Burial depth</translation>
    </message>
    <message>
        <source>导体直径</source>
        <translation>Conductor diameter</translation>
    </message>
    <message>
        <source>周边接地极</source>
        <translation>Perimeter rods</translation>
    </message>
    <message>
        <source>入地电流 IG</source>
        <translation>Grid current IG</translation>
    </message>
    <message>
        <source>故障持续时间</source>
        <translation>Fault duration</translation>
    </message>
    <message>
        <source>表层</source>
        <translation>Surface layer</translation>
    </message>
    <message>
        <source>无</source>
        <translation>none</translation>
    </message>
    <message>
        <source>体重</source>
        <translation>Body weight</translation>
    </message>
    <message>
        <source>土壤</source>
        <translation>Soil</translation>
    </message>
    <message>
        <source>接地极</source>
        <translation>Electrode</translation>
    </message>
    <message>
        <source>采用的电阻率</source>
        <translation>Resistivity used</translation>
    </message>
    <message>
        <source>单根电阻 R1</source>
        <translation>One rod R1</translation>
    </message>
    <message>
        <source>所需根数</source>
        <translation>Rods needed</translation>
    </message>
    <message>
        <source>系数 λ</source>
        <translation>Factor λ</translation>
    </message>
    <message>
        <source>组合电阻 Rn</source>
        <translation>Group Rn</translation>
    </message>
    <message>
        <source>接地网电阻 Rg</source>
        <translation>Grid Rg</translation>
    </message>
    <message>
        <source>地电位升 GPR</source>
        <translation>Ground potential rise GPR</translation>
    </message>
    <message>
        <source>表层系数 Cs</source>
        <translation>Surface factor Cs</translation>
    </message>
    <message>
        <source>允许接触电压</source>
        <translation>Tolerable touch voltage</translation>
    </message>
    <message>
        <source>允许跨步电压</source>
        <translation>Tolerable step voltage</translation>
    </message>
    <message>
        <source>网孔电压 Em</source>
        <translation>Mesh voltage Em</translation>
    </message>
    <message>
        <source>跨步电压 Es</source>
        <translation>Step voltage Es</translation>
    </message>
    <message>
        <source>%1 根以内的接地极都达不到目标电阻。</source>
        <translation>No group of up to %1 rods reaches the target resistance.</translation>
    </message>
    <message>
        <source>网孔电压和跨步电压需要每个方向至少两根导体。</source>
        <translation>The mesh and step voltages need at least two conductors each way.</translation>
    </message>
    <message>
        <source>安全：地电位升低于允许接触电压。</source>
        <translation>Safe: the ground potential rise is below the tolerable touch voltage.</translation>
    </message>
    <message>
        <source>安全：网孔电压和跨步电压都低于允许值。</source>
        <translation>Safe: the mesh and step voltages are below their tolerable values.</translation>
    </message>
    <message>
        <source>不安全：地电位升超过允许接触电压，网孔电压或跨步电压也超过允许值。</source>
        <translation>Not safe: the ground potential rise exceeds the tolerable touch voltage, and the mesh or step voltage exceeds its tolerable value.</translation>
    </message>
    <message>
        <source>不安全：地电位升超过允许接触电压。</source>
        <translation>Not safe: the ground potential rise exceeds the tolerable touch voltage.</translation>
    </message>
    <message>
        <source>未做接触电压和跨步电压校核。</source>
        <translation>Touch and step voltages not checked.</translation>
    </message>
    <message>
        <source>接地设计</source>
        <translation>Grounding design</translation>
    </message>
</context>
<context>
    <name>bm::design::DesignPanel</name>
    <message>
        <source>单根接地极</source>
        <translation>Single rod</translation>
    </message>
    <message>
        <source>多根接地极</source>
        <translation>Rods</translation>
    </message>
    <message>
        <source>达到目标所需根数</source>
        <translation>Rods needed for a target</translation>
    </message>
    <message>
        <source>接地网</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>接地极</source>
        <translation>Electrode</translation>
    </message>
    <message>
        <source>直线</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>环形</source>
        <translation>Ring</translation>
    </message>
    <message>
        <source>接地极长度</source>
        <translation>Rod length</translation>
    </message>
    <message>
        <source>接地极直径</source>
        <translation>Rod diameter</translation>
    </message>
    <message>
        <source>根数</source>
        <translation>Number of rods</translation>
    </message>
    <message>
        <source>目标电阻</source>
        <translation>Target resistance</translation>
    </message>
    <message>
        <source>间距</source>
        <translation>Spacing</translation>
    </message>
    <message>
        <source>布置</source>
        <translation>Arrangement</translation>
    </message>
    <message>
        <source>长 (x)</source>
        <translation>Length (x)</translation>
    </message>
    <message>
        <source>宽 (y)</source>
        <translation>Width (y)</translation>
    </message>
    <message>
        <source>沿 x 导体根数</source>
        <translation>Conductors along x</translation>
    </message>
    <message>
        <source>沿 y 导体根数</source>
        <translation>Conductors along y</translation>
    </message>
    <message>
        <source>埋深</source>
        <translation>Burial depth</translation>
    </message>
    <message>
        <source>导体直径</source>
        <translation>Conductor diameter</translation>
    </message>
    <message>
        <source>周边接地极根数</source>
        <translation>Perimeter rods</translation>
    </message>
    <message>
        <source>周边接地极长度</source>
        <translation>Perimeter rod length</translation>
    </message>
    <message>
        <source>接触电压和跨步电压校核</source>
        <translation>Touch and step voltage check</translation>
    </message>
    <message>
        <source>无表层</source>
        <translation>No surface layer</translation>
    </message>
    <message>
        <source>入地电流 IG</source>
        <translation>Grid current IG</translation>
    </message>
    <message>
        <source>故障持续时间</source>
        <translation>Fault duration</translation>
    </message>
    <message>
        <source>表层电阻率</source>
        <translation>Surface layer resistivity</translation>
    </message>
    <message>
        <source>表层厚度</source>
        <translation>Surface layer thickness</translation>
    </message>
    <message>
        <source>体重</source>
        <translation>Body weight</translation>
    </message>
    <message>
        <source>没有土壤模型：请先拟合土壤电阻率读数。</source>
        <translation>No soil model: fit the soil resistivity readings first.</translation>
    </message>
</context>
<context>
    <name>bm::electrode::FopChart</name>
    <message>
        <source>电位极距离 x/C</source>
        <translation>Potential probe distance x/C</translation>
    </message>
    <message>
        <source>电阻 R (Ω)</source>
        <translation>Resistance R (Ω)</translation>
    </message>
    <message>
        <source>平台区 (52%–72% C)</source>
        <translation>Plateau band (52%–72% C)</translation>
    </message>
    <message>
        <source>电位降曲线</source>
        <translation>Fall-of-potential curve</translation>
    </message>
    <message>
        <source>61.8% C</source>
        <translation>61.8% C</translation>
    </message>
    <message>
        <source>读数</source>
        <translation>Readings</translation>
    </message>
    <message>
        <source>斜率法各点</source>
        <translation>Slope method points</translation>
    </message>
</context>
<context>
    <name>bm::electrode::FopFigures</name>
    <message>
        <source>是</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>no</translation>
    </message>
    <message>
        <source>不超过限值 %1</source>
        <translation>Within the limit of %1</translation>
    </message>
    <message>
        <source>未设限值</source>
        <translation>No limit set</translation>
    </message>
    <message>
        <source>使用的读数</source>
        <translation>Readings used</translation>
    </message>
    <message>
        <source>61.8% 处电阻</source>
        <translation>R at 61.8%</translation>
    </message>
    <message>
        <source>平台偏差</source>
        <translation>Plateau deviation</translation>
    </message>
    <message>
        <source>平台合格 (≤ %1 %)</source>
        <translation>Plateau ok (≤ %1 %)</translation>
    </message>
    <message>
        <source>斜率 μ</source>
        <translation>Slope μ</translation>
    </message>
    <message>
        <source>Pt/C</source>
        <translation>Pt/C</translation>
    </message>
    <message>
        <source>斜率法电阻</source>
        <translation>R by the slope method</translation>
    </message>
    <message>
        <source>1/R 外推电阻</source>
        <translation>R by 1/R extrapolation</translation>
    </message>
    <message>
        <source>电极与电流极之间只有 %1 个读数，至少需要三个。请为读数填写电位极距离。</source>
        <translation>Only %1 reading(s) lie between the electrode and the current probe; three or more are needed. Enter the potential probe distance of the readings.</translation>
    </message>
    <message>
        <source>曲线的上升不符合斜率法：电流极离接地极太近，请将电流极移远后重新测量。</source>
        <translation>The curve does not rise as the slope method needs: the current probe is too close to the electrode. Move it further out and measure again.</translation>
    </message>
    <message>
        <source>曲线没有平台：52% 与 72% C 处的读数与 62% C 处相差 %1 %（允许 %2 %），请将电流极移远。</source>
        <translation>The curve has no plateau: the readings at 52% and 72% of C differ from the one at 62% by %1 % (%2 % allowed). Move the current probe further out.</translation>
    </message>
    <message>
        <source>读数没有覆盖 52% 至 72% C，无法检查平台。</source>
        <translation>The readings do not cover 52% to 72% of C, so the plateau cannot be checked.</translation>
    </message>
    <message>
        <source>曲线有平台；接地电阻为 %1（斜率法）。</source>
        <translation>The curve has a plateau; the earth resistance is %1 (slope method).</translation>
    </message>
    <message>
        <source>曲线有平台；接地电阻为 %1（61.8% 法）。</source>
        <translation>The curve has a plateau; the earth resistance is %1 (61.8% rule).</translation>
    </message>
    <message>
        <source>不超过限值。</source>
        <translation> Within the limit.</translation>
    </message>
    <message>
        <source>超过限值！</source>
        <translation> Above the limit!</translation>
    </message>
</context>
<context>
    <name>bm::electrode::FopPointModel</name>
    <message>
        <source>记录</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>距离 x (m)</source>
        <translation>Distance x (m)</translation>
    </message>
    <message>
        <source>R (Ω)</source>
        <translation>R (Ω)</translation>
    </message>
</context>
<context>
    <name>bm::electrode::FopReport</name>
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
        <source>距离 x (m)</source>
        <translation>Distance x (m)</translation>
    </message>
    <message>
        <source>x/C</source>
        <translation>x/C</translation>
    </message>
    <message>
        <source>R (Ω)</source>
        <translation>R (Ω)</translation>
    </message>
    <message>
        <source>接地电阻测试报告（电位降法）</source>
        <translation>Earth Resistance Test Report (Fall of Potential)</translation>
    </message>
    <message>
        <source>读数</source>
        <translation>Readings</translation>
    </message>
    <message>
        <source>电流极距离 C：%1 m</source>
        <translation>Current probe distance C: %1 m</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Results</translation>
    </message>
    <message>
        <source>无法生成PDF</source>
        <translation>The PDF could not be made</translation>
    </message>
</context>
<context>
    <name>bm::electrode::FopWindow</name>
    <message>
        <source>接地电阻分析</source>
        <translation>Earth resistance analysis</translation>
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
        <source>测试</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>电流极距离 C</source>
        <translation>Current probe distance C</translation>
    </message>
    <message>
        <source>平台允许偏差</source>
        <translation>Plateau tolerance</translation>
    </message>
    <message>
        <source>电阻限值</source>
        <translation>Resistance limit</translation>
    </message>
    <message>
        <source>均匀填充</source>
        <translation>Fill evenly</translation>
    </message>
    <message>
        <source>步长</source>
        <translation>step</translation>
    </message>
    <message>
        <source>首个距离</source>
        <translation>First distance</translation>
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
        <translation>CSV (*.csv)|*.csv|</translation>
    </message>
</context>
<context>
    <name>bm::history::HistoryCommands</name>
    <message>
        <source>记录表中没有可保存的记录。</source>
        <translation>The records table holds no records to save.</translation>
    </message>
    <message>
        <source>无法打开现场记录数据库:
%1</source>
        <translation>Cannot open the site history database:
%1</translation>
    </message>
    <message>
        <source>未保存到现场记录:
%1</source>
        <translation>Not saved to the site history:
%1</translation>
    </message>
    <message>
        <source>已保存 %1 条记录: %2 / %3。</source>
        <translation>Saved %1 records: %2 / %3.</translation>
    </message>
    <message>
        <source>现场记录</source>
        <translation>Site History</translation>
    </message>
</context>
<context>
    <name>bm::history::HistoryWindow</name>
    <message>
        <source>现场记录</source>
        <translation>Site History</translation>
    </message>
    <message>
        <source>更改数据库…</source>
        <translation>Change Database…</translation>
    </message>
    <message>
        <source>导出现场…</source>
        <translation>Export Site…</translation>
    </message>
    <message>
        <source>导入…</source>
        <translation>Import…</translation>
    </message>
    <message>
        <source>数据库:</source>
        <translation>Database:</translation>
    </message>
    <message>
        <source>导入现场</source>
        <translation>Import Site</translation>
    </message>
    <message>
        <source>现场记录包 (*.json)</source>
        <translation>Site packages (*.json)</translation>
    </message>
    <message>
        <source>现场</source>
        <translation>Site</translation>
    </message>
    <message>
        <source>测试点</source>
        <translation>Test point</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>读数</source>
        <translation>Readings</translation>
    </message>
    <message>
        <source>关键值</source>
        <translation>Key figure</translation>
    </message>
    <message>
        <source>结论</source>
        <translation>Verdict</translation>
    </message>
    <message>
        <source>操作员</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>记录</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Rc</source>
        <translation>Rc</translation>
    </message>
    <message>
        <source>Rp</source>
        <translation>Rp</translation>
    </message>
    <message>
        <source>间距</source>
        <translation>Spacing</translation>
    </message>
    <message>
        <source>无法打开现场记录数据库:
%1</source>
        <translation>Cannot open the site history database:
%1</translation>
    </message>
    <message>
        <source>现场记录数据库</source>
        <translation>Site History Database</translation>
    </message>
    <message>
        <source>SQLite 文件路径，或 postgresql://用户@主机:端口/数据库</source>
        <translation>A SQLite file path, or postgresql://user@host:port/dbname</translation>
    </message>
    <message>
        <source>合格</source>
        <translation>Pass</translation>
    </message>
    <message>
        <source>不合格</source>
        <translation>Fail</translation>
    </message>
    <message>
        <source>关键值 (%1)</source>
        <translation>Key figure (%1)</translation>
    </message>
    <message>
        <source>限值 %1 Ω</source>
        <translation>Limit %1 Ω</translation>
    </message>
    <message>
        <source>现场记录包 (*.json)|*.json|</source>
        <translation>Site packages (*.json)|*.json|</translation>
    </message>
    <message>
        <source>无法读取 %1:
%2</source>
        <translation>Cannot read %1:
%2</translation>
    </message>
    <message>
        <source>%1 不是可导入的现场记录包:
%2</source>
        <translation>%1 is not a site package that can be imported:
%2</translation>
    </message>
    <message>
        <source>无法打开现场记录数据库。</source>
        <translation>Cannot open the site history database.</translation>
    </message>
    <message>
        <source>导入失败，数据库未改动:
%1</source>
        <translation>The import failed; the database is unchanged:
%1</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>新增 %1 个测试点、%2 次测试；%3 次测试已存在。</source>
        <translation>Added %1 test points and %2 visits; %3 visits were already there.</translation>
    </message>
</context>
<context>
    <name>bm::history::SaveVisitDialog</name>
    <message>
        <source>保存到现场记录</source>
        <translation>Save to Site History</translation>
    </message>
    <message>
        <source>接地极</source>
        <translation>Electrode</translation>
    </message>
    <message>
        <source>土壤测线</source>
        <translation>Soil traverse</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>现场</source>
        <translation>Site</translation>
    </message>
    <message>
        <source>测试点</source>
        <translation>Test point</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>限值 (Ω)</source>
        <translation>Limit (Ω)</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>操作员</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>仪器</source>
        <translation>Instrument</translation>
    </message>
    <message>
        <source>天气</source>
        <translation>Weather</translation>
    </message>
    <message>
        <source>地面状况</source>
        <translation>Ground condition</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Notes</translation>
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
        <source>输入</source>
        <translation>Inputs</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Results</translation>
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
