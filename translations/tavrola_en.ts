<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="ja">
<context>
    <name>tavrola::CAboutDlg</name>
    <message>
        <source>バージョン情報 TavrolaApp</source>
        <translation>About TavrolaApp</translation>
    </message>
    <message>
        <source>DNA の塩基配列を音楽とらせんに</source>
        <translation>DNA sequences into music and a helix</translation>
    </message>
</context>
<context>
    <name>tavrola::CAssignDlg</name>
    <message>
        <source>シ</source>
        <translation>B</translation>
    </message>
    <message>
        <source>シb</source>
        <translation>B♭</translation>
    </message>
    <message>
        <source>ド</source>
        <translation>C</translation>
    </message>
    <message>
        <source>レb</source>
        <translation>D♭</translation>
    </message>
    <message>
        <source>レ</source>
        <translation>D</translation>
    </message>
    <message>
        <source>ミb</source>
        <translation>E♭</translation>
    </message>
    <message>
        <source>ミ</source>
        <translation>E</translation>
    </message>
    <message>
        <source>ファ</source>
        <translation>F</translation>
    </message>
    <message>
        <source>ソb</source>
        <translation>G♭</translation>
    </message>
    <message>
        <source>ソ</source>
        <translation>G</translation>
    </message>
    <message>
        <source>ラb</source>
        <translation>A♭</translation>
    </message>
    <message>
        <source>ラ</source>
        <translation>A</translation>
    </message>
    <message>
        <source>4分音符</source>
        <translation>Quarter notes</translation>
    </message>
    <message>
        <source>8分音符</source>
        <translation>Eighth notes</translation>
    </message>
    <message>
        <source>混合</source>
        <translation>Mixed</translation>
    </message>
    <message>
        <source>音高割り当て</source>
        <translation>Pitch assignment</translation>
    </message>
    <message>
        <source>音価割り当て</source>
        <translation>Note values</translation>
    </message>
    <message>
        <source>ダイアトニックのみ使用</source>
        <translation>Diatonic only</translation>
    </message>
</context>
<context>
    <name>tavrola::CDataDlg</name>
    <message>
        <source>読込</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>読み飛ばす文字</source>
        <translation>Letters that will not play</translation>
    </message>
</context>
<context>
    <name>tavrola::CRecordDlg</name>
    <message>
        <source>レコード</source>
        <translation>Records</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>tavrola::CSettingDlg</name>
    <message>
        <source>右配列の音色</source>
        <translation>Right voice</translation>
    </message>
    <message>
        <source>左配列の音色</source>
        <translation>Left voice</translation>
    </message>
</context>
<context>
    <name>tavrola::CTargetAreaDlg</name>
    <message>
        <source>データが長すぎます。読み込む範囲を指定してくだい。</source>
        <translation>The data is too long. Choose the range to read.</translation>
    </message>
    <message>
        <source>開始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>終了</source>
        <extracomment>The last position of the range to read.</extracomment>
        <translation>End</translation>
    </message>
</context>
<context>
    <name>tavrola::CTavrolaAppDlg</name>
    <message>
        <source>DNA の二重らせん</source>
        <translation>DNA double helix</translation>
    </message>
    <message>
        <source>塩基対ごとに色の付いた光る球が回りながら流れ、次に鳴る塩基対が明るく光ります</source>
        <translation>Glowing spheres, coloured by base, turn and scroll past; the base pair about to sound lights up.</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <extracomment>A button&apos;s tooltip: its name, then its shortcut.</extracomment>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>バージョン情報 TavrolaApp(&amp;A)...</source>
        <translation>&amp;About TavrolaApp...</translation>
    </message>
</context>
<context>
    <name>tavrola::DesignedText</name>
    <message>
        <source>&#x3000;&#x3000;開&#x3000;始&#x3000;&#x3000;</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>&#x3000;&#x3000;停&#x3000;止&#x3000;&#x3000;</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>CGeneralFile:ファイルサイズを取得できませんでした。</source>
        <translation>CGeneralFile: Could not get the size of the file.</translation>
    </message>
    <message>
        <source>CGeneralFile:ファイルをオープンできませんでした。</source>
        <translation>CGeneralFile: Could not open the file.</translation>
    </message>
    <message>
        <source>CGeneralFile:ファイルを読み込めませんでした。</source>
        <translation>CGeneralFile: Could not read the file.</translation>
    </message>
    <message>
        <source>指定範囲に誤りがあります。</source>
        <translation>The range is not valid.</translation>
    </message>
    <message>
        <source>指定範囲が大きすぎます。</source>
        <translation>The range is too large.</translation>
    </message>
    <message>
        <source>MidiControler:使用できるMIDIデバイスがありません。</source>
        <translation>MidiControler: No MIDI device is available.</translation>
    </message>
    <message>
        <source>MidiControler:未定義のエラーが発生しました。</source>
        <translation>MidiControler: An unknown error occurred.</translation>
    </message>
    <message>
        <source>ｸﾞﾗﾝﾄﾞ ﾋﾟｱﾉ</source>
        <translation>Acoustic Grand Piano</translation>
    </message>
    <message>
        <source>ﾌﾞﾗｲﾄ ﾋﾟｱﾉ</source>
        <translation>Bright Acoustic Piano</translation>
    </message>
    <message>
        <source>ｴﾚｸﾄﾘｯｸ ｸﾞﾗﾝﾄﾞ</source>
        <translation>Electric Grand Piano</translation>
    </message>
    <message>
        <source>ﾎﾝｷｰﾄﾝｸ ﾋﾟｱﾉ</source>
        <translation>Honky-tonk Piano</translation>
    </message>
    <message>
        <source>ｴﾚｸﾄﾘｯｸ ﾋﾟｱﾉ 1</source>
        <translation>Electric Piano 1</translation>
    </message>
    <message>
        <source>ｴﾚｸﾄﾘｯｸ ﾋﾟｱﾉ 2</source>
        <translation>Electric Piano 2</translation>
    </message>
    <message>
        <source>ﾊｰﾌﾟｼｺｰﾄﾞ</source>
        <translation>Harpsichord</translation>
    </message>
    <message>
        <source>ｸﾗﾋﾞ</source>
        <translation>Clavi</translation>
    </message>
    <message>
        <source>ｾﾚｽﾃ</source>
        <translation>Celesta</translation>
    </message>
    <message>
        <source>ｸﾞﾛｯｹﾝｼｭﾋﾟｰﾙ</source>
        <translation>Glockenspiel</translation>
    </message>
    <message>
        <source>ｵﾙｺﾞｰﾙ</source>
        <translation>Music Box</translation>
    </message>
    <message>
        <source>ﾋﾞﾌﾞﾗﾌｫﾝ</source>
        <translation>Vibraphone</translation>
    </message>
    <message>
        <source>ﾏﾘﾝﾊﾞ</source>
        <translation>Marimba</translation>
    </message>
    <message>
        <source>木琴</source>
        <translation>Xylophone</translation>
    </message>
    <message>
        <source>ﾁｭｰﾌﾞﾗ ﾍﾞﾙ</source>
        <translation>Tubular Bells</translation>
    </message>
    <message>
        <source>ｻﾝﾄｩｰﾙ</source>
        <translation>Dulcimer</translation>
    </message>
    <message>
        <source>ｵﾙｶﾞﾝ</source>
        <translation>Drawbar Organ</translation>
    </message>
    <message>
        <source>ﾊﾟｰｶｯｼﾌﾞ ｵﾙｶﾞﾝ</source>
        <translation>Percussive Organ</translation>
    </message>
    <message>
        <source>ﾛｯｸ ｵﾙｶﾞﾝ</source>
        <translation>Rock Organ</translation>
    </message>
    <message>
        <source>ﾊﾟｲﾌﾟ ｵﾙｶﾞﾝ</source>
        <translation>Church Organ</translation>
    </message>
    <message>
        <source>ﾘｰﾄﾞ ｵﾙｶﾞﾝ</source>
        <translation>Reed Organ</translation>
    </message>
    <message>
        <source>ｱｺｰﾃﾞｨｵﾝ</source>
        <translation>Accordion</translation>
    </message>
    <message>
        <source>ﾊｰﾓﾆｶ</source>
        <translation>Harmonica</translation>
    </message>
    <message>
        <source>ﾊﾞﾝﾄﾞﾈｵﾝ</source>
        <translation>Tango Accordion</translation>
    </message>
    <message>
        <source>ｶﾞｯﾄ ｷﾞﾀｰ</source>
        <translation>Acoustic Guitar (nylon)</translation>
    </message>
    <message>
        <source>ｽﾁｰﾙ ｷﾞﾀｰ</source>
        <translation>Acoustic Guitar (steel)</translation>
    </message>
    <message>
        <source>ｼﾞｬｽﾞ ｷﾞﾀｰ</source>
        <translation>Electric Guitar (jazz)</translation>
    </message>
    <message>
        <source>ｸﾘｰﾝ ｷﾞﾀｰ</source>
        <translation>Electric Guitar (clean)</translation>
    </message>
    <message>
        <source>消音ｷﾞﾀｰ</source>
        <translation>Electric Guitar (muted)</translation>
    </message>
    <message>
        <source>ｵｰﾊﾞｰﾄﾞﾗｲﾌﾞ ｷﾞﾀｰ</source>
        <translation>Overdriven Guitar</translation>
    </message>
    <message>
        <source>ﾃﾞｨｽﾄｰｼｮﾝ ｷﾞﾀｰ</source>
        <translation>Distortion Guitar</translation>
    </message>
    <message>
        <source>ｷﾞﾀｰ ﾊｰﾓﾆｸｽ</source>
        <translation>Guitar harmonics</translation>
    </message>
    <message>
        <source>ｳｯﾄﾞﾍﾞｰｽ</source>
        <translation>Acoustic Bass</translation>
    </message>
    <message>
        <source>ﾌｨﾝｶﾞｰ ｴﾚｷﾍﾞｰｽ</source>
        <translation>Electric Bass (finger)</translation>
    </message>
    <message>
        <source>ﾋﾟｯｸ ｴﾚｷﾍﾞｰｽ</source>
        <translation>Electric Bass (pick)</translation>
    </message>
    <message>
        <source>ﾌﾚｯﾄﾚｽ ﾍﾞｰｽ</source>
        <translation>Fretless Bass</translation>
    </message>
    <message>
        <source>ｽﾗｯﾌﾟ ﾍﾞｰｽ 1</source>
        <translation>Slap Bass 1</translation>
    </message>
    <message>
        <source>ｽﾗｯﾌﾟ ﾍﾞｰｽ 2</source>
        <translation>Slap Bass 2</translation>
    </message>
    <message>
        <source>ｼﾝｾ ﾍﾞｰｽ 1</source>
        <translation>Synth Bass 1</translation>
    </message>
    <message>
        <source>ｼﾝｾ ﾍﾞｰｽ 2</source>
        <translation>Synth Bass 2</translation>
    </message>
    <message>
        <source>ﾊﾞｲｵﾘﾝ</source>
        <translation>Violin</translation>
    </message>
    <message>
        <source>ﾋﾞｵﾗ</source>
        <translation>Viola</translation>
    </message>
    <message>
        <source>ﾁｪﾛ</source>
        <translation>Cello</translation>
    </message>
    <message>
        <source>ｺﾝﾄﾗﾊﾞｽ</source>
        <translation>Contrabass</translation>
    </message>
    <message>
        <source>ﾄﾚﾓﾛ ｽﾄﾘﾝｸﾞｽ</source>
        <translation>Tremolo Strings</translation>
    </message>
    <message>
        <source>ﾋﾟｯﾁｶｰﾄ ｽﾄﾘﾝｸﾞｽ</source>
        <translation>Pizzicato Strings</translation>
    </message>
    <message>
        <source>ﾊｰﾌﾟ</source>
        <translation>Orchestral Harp</translation>
    </message>
    <message>
        <source>ﾃｨﾝﾊﾟﾆｰ</source>
        <translation>Timpani</translation>
    </message>
    <message>
        <source>ｱﾝｻﾝﾌﾞﾙ ｽﾄﾘﾝｸﾞｽ</source>
        <translation>String Ensemble 1</translation>
    </message>
    <message>
        <source>ｽﾛｰ ｽﾄﾘﾝｸﾞｽ</source>
        <translation>String Ensemble 2</translation>
    </message>
    <message>
        <source>ｼﾝｾ ｽﾄﾘﾝｸﾞｽ 1</source>
        <translation>SynthStrings 1</translation>
    </message>
    <message>
        <source>ｼﾝｾ ｽﾄﾘﾝｸﾞｽ 2</source>
        <translation>SynthStrings 2</translation>
    </message>
    <message>
        <source>歌声 ｱｰ</source>
        <translation>Choir Aahs</translation>
    </message>
    <message>
        <source>歌声 ｳｰ</source>
        <translation>Voice Oohs</translation>
    </message>
    <message>
        <source>ｼﾝｾ ﾎﾞｯｸｽ</source>
        <translation>Synth Voice</translation>
    </message>
    <message>
        <source>ｵｰｹｽﾄﾗ ﾋｯﾄ</source>
        <translation>Orchestra Hit</translation>
    </message>
    <message>
        <source>ﾄﾗﾝﾍﾟｯﾄ</source>
        <translation>Trumpet</translation>
    </message>
    <message>
        <source>ﾄﾛﾝﾎﾞｰﾝ</source>
        <translation>Trombone</translation>
    </message>
    <message>
        <source>ﾁｭｰﾊﾞ</source>
        <translation>Tuba</translation>
    </message>
    <message>
        <source>消音ﾄﾗﾝﾍﾟｯﾄ</source>
        <translation>Muted Trumpet</translation>
    </message>
    <message>
        <source>ﾌﾚﾝﾁ ﾎﾙﾝ</source>
        <translation>French Horn</translation>
    </message>
    <message>
        <source>ﾌﾞﾗｽ</source>
        <translation>Brass Section</translation>
    </message>
    <message>
        <source>ｼﾝｾ ﾌﾞﾗｽ 1</source>
        <translation>SynthBrass 1</translation>
    </message>
    <message>
        <source>ｼﾝｾ ﾌﾞﾗｽ 2</source>
        <translation>SynthBrass 2</translation>
    </message>
    <message>
        <source>ｿﾌﾟﾗﾉ ｻｯｸｽ</source>
        <translation>Soprano Sax</translation>
    </message>
    <message>
        <source>ｱﾙﾄ ｻｯｸｽ</source>
        <translation>Alto Sax</translation>
    </message>
    <message>
        <source>ﾃﾅｰ ｻｯｸｽ</source>
        <translation>Tenor Sax</translation>
    </message>
    <message>
        <source>ﾊﾞﾘﾄﾝ ｻｯｸｽ</source>
        <translation>Baritone Sax</translation>
    </message>
    <message>
        <source>ｵｰﾎﾞｴ</source>
        <translation>Oboe</translation>
    </message>
    <message>
        <source>ｲﾝｸﾞﾘｯｼｭ ﾎﾙﾝ</source>
        <translation>English Horn</translation>
    </message>
    <message>
        <source>ﾊﾞｽｰﾝ</source>
        <translation>Bassoon</translation>
    </message>
    <message>
        <source>ｸﾗﾘﾈｯﾄ</source>
        <translation>Clarinet</translation>
    </message>
    <message>
        <source>ﾋﾟｯｺﾛ</source>
        <translation>Piccolo</translation>
    </message>
    <message>
        <source>ﾌﾙｰﾄ</source>
        <translation>Flute</translation>
    </message>
    <message>
        <source>ﾘｺｰﾀﾞｰ</source>
        <translation>Recorder</translation>
    </message>
    <message>
        <source>ﾊﾟﾝ ﾌﾙｰﾄ</source>
        <translation>Pan Flute</translation>
    </message>
    <message>
        <source>ﾎﾞﾄﾙ ﾌﾞﾛｳ</source>
        <translation>Blown Bottle</translation>
    </message>
    <message>
        <source>尺八</source>
        <translation>Shakuhachi</translation>
    </message>
    <message>
        <source>口笛</source>
        <translation>Whistle</translation>
    </message>
    <message>
        <source>ｵｶﾘﾅ</source>
        <translation>Ocarina</translation>
    </message>
    <message>
        <source>矩形波</source>
        <translation>Lead 1 (square)</translation>
    </message>
    <message>
        <source>鋸波</source>
        <translation>Lead 2 (sawtooth)</translation>
    </message>
    <message>
        <source>ｼﾝｾ ｶﾘｵﾍﾟ</source>
        <translation>Lead 3 (calliope)</translation>
    </message>
    <message>
        <source>ｻｲﾌｧ ﾘｰﾄﾞ</source>
        <translation>Lead 4 (chiff)</translation>
    </message>
    <message>
        <source>ﾁｬﾗﾝｸﾞ</source>
        <translation>Lead 5 (charang)</translation>
    </message>
    <message>
        <source>ｿﾛ ﾎﾞｯｸｽ</source>
        <translation>Lead 6 (voice)</translation>
    </message>
    <message>
        <source>5度の鋸波</source>
        <translation>Lead 7 (fifths)</translation>
    </message>
    <message>
        <source>ﾍﾞｰｽとﾘｰﾄﾞ</source>
        <translation>Lead 8 (bass + lead)</translation>
    </message>
    <message>
        <source>ﾌｧﾝﾀｼﾞｱ</source>
        <translation>Pad 1 (new age)</translation>
    </message>
    <message>
        <source>ｳｫｰﾑ ﾊﾟｯﾄﾞ</source>
        <translation>Pad 2 (warm)</translation>
    </message>
    <message>
        <source>ﾎﾟﾘ ｼﾝｾ</source>
        <translation>Pad 3 (polysynth)</translation>
    </message>
    <message>
        <source>宇宙の声</source>
        <translation>Pad 4 (choir)</translation>
    </message>
    <message>
        <source>ﾌﾞﾛｰﾄﾞ ｸﾞﾗｽ</source>
        <translation>Pad 5 (bowed)</translation>
    </message>
    <message>
        <source>ﾒﾀﾙ ﾊﾟｯﾄﾞ</source>
        <translation>Pad 6 (metallic)</translation>
    </message>
    <message>
        <source>ﾊﾛ ﾊﾟｯﾄﾞ</source>
        <translation>Pad 7 (halo)</translation>
    </message>
    <message>
        <source>ｽｨｰﾌﾟ ﾊﾟｯﾄﾞ</source>
        <translation>Pad 8 (sweep)</translation>
    </message>
    <message>
        <source>ｱｲｽ ﾚｲﾝ</source>
        <translation>FX 1 (rain)</translation>
    </message>
    <message>
        <source>ｻｳﾝﾄﾞﾄﾗｯｸ</source>
        <translation>FX 2 (soundtrack)</translation>
    </message>
    <message>
        <source>水晶</source>
        <translation>FX 3 (crystal)</translation>
    </message>
    <message>
        <source>ｱﾄﾓｽﾌｪｱｰ</source>
        <translation>FX 4 (atmosphere)</translation>
    </message>
    <message>
        <source>ﾌﾞﾗｲﾄﾈｽ</source>
        <translation>FX 5 (brightness)</translation>
    </message>
    <message>
        <source>ｺﾞﾌﾞﾘﾝ</source>
        <translation>FX 6 (goblins)</translation>
    </message>
    <message>
        <source>ｴｺｰ ﾄﾞﾛｯﾌﾟｽ</source>
        <translation>FX 7 (echoes)</translation>
    </message>
    <message>
        <source>星のﾃｰﾏ</source>
        <translation>FX 8 (sci-fi)</translation>
    </message>
    <message>
        <source>ｼﾀｰﾙ</source>
        <translation>Sitar</translation>
    </message>
    <message>
        <source>ﾊﾞﾝｼﾞｮｰ</source>
        <translation>Banjo</translation>
    </message>
    <message>
        <source>三味線</source>
        <translation>Shamisen</translation>
    </message>
    <message>
        <source>琴</source>
        <translation>Koto</translation>
    </message>
    <message>
        <source>ｶﾘﾝﾊﾞ</source>
        <translation>Kalimba</translation>
    </message>
    <message>
        <source>ﾊﾞｸﾞﾊﾟｲﾌﾟ</source>
        <translation>Bag pipe</translation>
    </message>
    <message>
        <source>ﾌｨｰﾄﾞﾙ</source>
        <translation>Fiddle</translation>
    </message>
    <message>
        <source>ｼｬﾅｲ</source>
        <translation>Shanai</translation>
    </message>
    <message>
        <source>ﾃｨﾝｸﾙ ﾍﾞﾙ</source>
        <translation>Tinkle Bell</translation>
    </message>
    <message>
        <source>ｱｺﾞｺﾞ</source>
        <translation>Agogo</translation>
    </message>
    <message>
        <source>ｽﾁｰﾙ ﾄﾞﾗﾑ</source>
        <translation>Steel Drums</translation>
    </message>
    <message>
        <source>ｳｯﾄﾞ ﾌﾞﾛｯｸ</source>
        <translation>Woodblock</translation>
    </message>
    <message>
        <source>太鼓</source>
        <translation>Taiko Drum</translation>
    </message>
    <message>
        <source>ﾒﾛﾃﾞｨｯｸ ﾀﾑ ﾀﾑ</source>
        <translation>Melodic Tom</translation>
    </message>
    <message>
        <source>ｼﾝｾ ﾄﾞﾗﾑ</source>
        <translation>Synth Drum</translation>
    </message>
    <message>
        <source>ﾘﾊﾞｰｽ ｼﾝﾊﾞﾙ</source>
        <translation>Reverse Cymbal</translation>
    </message>
    <message>
        <source>ﾌﾚｯﾄﾉｲｽﾞ</source>
        <translation>Guitar Fret Noise</translation>
    </message>
    <message>
        <source>息のﾉｲｽﾞ</source>
        <translation>Breath Noise</translation>
    </message>
    <message>
        <source>波の音</source>
        <translation>Seashore</translation>
    </message>
    <message>
        <source>鳥の声</source>
        <translation>Bird Tweet</translation>
    </message>
    <message>
        <source>電話</source>
        <translation>Telephone Ring</translation>
    </message>
    <message>
        <source>ﾍﾘｺﾌﾟﾀｰ</source>
        <translation>Helicopter</translation>
    </message>
    <message>
        <source>拍手</source>
        <translation>Applause</translation>
    </message>
    <message>
        <source>銃声</source>
        <translation>Gunshot</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
</context>
<context>
    <name>tavrola::ExportCommands</name>
    <message>
        <source>動画の書き出しには ffmpeg が必要です。ffmpeg パッケージをインストールしてください（sudo apt install ffmpeg）。</source>
        <translation>Exporting video needs ffmpeg. Install the ffmpeg package (sudo apt install ffmpeg).</translation>
    </message>
    <message>
        <source>MIDI ファイルに書き出す(&amp;M)...</source>
        <translation>Export as &amp;MIDI File...</translation>
    </message>
    <message>
        <source>音声ファイルに書き出す(&amp;W)...</source>
        <translation>Export as Au&amp;dio File...</translation>
    </message>
    <message>
        <source>動画ファイルに書き出す(&amp;V)...</source>
        <translation>Export as &amp;Video File...</translation>
    </message>
</context>
<context>
    <name>tavrola::ExportFileChooser</name>
    <message>
        <source>WAV 16 ビット (*.wav)</source>
        <translation>WAV 16-bit (*.wav)</translation>
    </message>
    <message>
        <source>「%1」はすでにあります。置き換えますか？</source>
        <translation>“%1” already exists. Do you want to replace it?</translation>
    </message>
    <message>
        <source>置き換える(&amp;R)</source>
        <translation>&amp;Replace</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>MIDI ファイルに書き出す</source>
        <translation>Export as MIDI File</translation>
    </message>
    <message>
        <source>音声ファイルに書き出す</source>
        <translation>Export as Audio File</translation>
    </message>
    <message>
        <source>動画ファイルに書き出す</source>
        <translation>Export as Video File</translation>
    </message>
</context>
<context>
    <name>tavrola::ExportJob</name>
    <message>
        <source>%1 時間 %2 分</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <source>%1 分 %2 秒</source>
        <translation>%1 min %2 s</translation>
    </message>
    <message>
        <source>%1 秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>キャンセルしています…</source>
        <translation>Cancelling…</translation>
    </message>
    <message>
        <source>残り時間を見積もっています…</source>
        <translation>Estimating the time left…</translation>
    </message>
    <message>
        <source>残り 約 %1</source>
        <translation>About %1 left</translation>
    </message>
    <message>
        <source>「%1」に書き出しています。
%2</source>
        <translation>Exporting to “%1”.
%2</translation>
    </message>
</context>
<context>
    <name>tavrola::ExportSentences</name>
    <message>
        <source>このフォルダーには書き込めません。別の保存先を選んでください。</source>
        <translation>This folder cannot be written to. Choose another place to save.</translation>
    </message>
    <message>
        <source>保存先のフォルダーが見つかりません。</source>
        <translation>The folder to save in cannot be found.</translation>
    </message>
    <message>
        <source>ディスクの空き容量が足りないため、書き出せませんでした。</source>
        <translation>The export failed: the disk is full.</translation>
    </message>
    <message>
        <source>ファイルが大きすぎるため、この保存先には書き出せません。</source>
        <translation>The file is too large to be saved here.</translation>
    </message>
    <message>
        <source>ファイル名が長すぎるため、この保存先には書き出せません。短い名前を選んでください。</source>
        <translation>The file name is too long to be saved here. Choose a shorter name.</translation>
    </message>
    <message>
        <source>演奏が長すぎるため、書き出せません。</source>
        <translation>The performance is too long to export.</translation>
    </message>
    <message>
        <source>WAV ファイルは 4 GiB までしか書き出せません。FLAC か Ogg Vorbis を選んでください。</source>
        <translation>A WAV file cannot be larger than 4 GiB. Choose FLAC or Ogg Vorbis.</translation>
    </message>
    <message>
        <source>保存先の空き容量が、書き出しに要る見込みの大きさより少ないため、書き出せません。</source>
        <translation>There is less free space here than the export is expected to need.</translation>
    </message>
    <message>
        <source>SoundFont が見つからないため、音声を書き出せません。fluid-soundfont-gm をインストールしてください。</source>
        <translation>Audio cannot be exported without a SoundFont. Install fluid-soundfont-gm.</translation>
    </message>
    <message>
        <source>同じ名前のフォルダーがあるため、書き出せません。別の名前を選んでください。</source>
        <translation>A folder of that name is in the way. Choose another name.</translation>
    </message>
    <message>
        <source>同じ名前の特殊なファイル（デバイスやパイプなど）があるため、書き出せません。別の名前を選んでください。</source>
        <translation>A special file of that name (a device or a pipe, for example) is in the way. Choose another name.</translation>
    </message>
    <message>
        <source>その名前はリンクですが、リンク先のファイルがないため、書き出せません。別の名前を選んでください。</source>
        <translation>That name is a link to a file that does not exist. Choose another name.</translation>
    </message>
    <message>
        <source>リンク先のファイルがあるフォルダーには書き込めません。別の保存先を選んでください。</source>
        <translation>The folder of the file the link points to cannot be written to. Choose another place to save.</translation>
    </message>
    <message>
        <source>ほかのユーザーのファイルなので、このフォルダーでは置き換えられません。別の名前を選んでください。</source>
        <translation>This file belongs to another user and cannot be replaced in this folder. Choose another name.</translation>
    </message>
    <message>
        <source>同じ名前のファイルができたため、置き換えずに書き出しをやめました。別の名前を選んでください。</source>
        <translation>A file of that name appeared meanwhile, so the export stopped without replacing it. Choose another name.</translation>
    </message>
    <message>
        <source>動画の書き出しには ffmpeg が必要です。ffmpeg パッケージをインストールしてください。</source>
        <translation>Exporting video needs ffmpeg. Install the ffmpeg package.</translation>
    </message>
    <message>
        <source>ffmpeg が動画を書き出せませんでした。</source>
        <translation>ffmpeg could not write the video.</translation>
    </message>
    <message>
        <source>ffmpeg が 30 秒のあいだ画像を受け取らなかったため、動画の書き出しをやめました。</source>
        <translation>ffmpeg took no picture for 30 seconds, so the video export was stopped.</translation>
    </message>
    <message>
        <source>ffmpeg のメッセージ: </source>
        <translation>ffmpeg said: </translation>
    </message>
    <message>
        <source>ファイルを書き出せませんでした。</source>
        <translation>The file could not be exported.</translation>
    </message>
</context>
<context>
    <name>tavrola::LoadSentences</name>
    <message>
        <source>読み込むあいだにファイルが書き換えられたため、読み込めませんでした。</source>
        <translation>The file was changed while it was being loaded, so it was not loaded.</translation>
    </message>
    <message>
        <source>ファイルを読み込めませんでした。</source>
        <translation>The file could not be loaded.</translation>
    </message>
    <message>
        <source>ファイルを開けませんでした。</source>
        <translation>The file could not be opened.</translation>
    </message>
    <message>
        <source>通常のファイルではないため、読み込めません。</source>
        <translation>This is not an ordinary file, so it cannot be loaded.</translation>
    </message>
    <message>
        <source>ファイルを読み込む途中でエラーが起きました。</source>
        <translation>An error occurred while the file was being read.</translation>
    </message>
    <message>
        <source>ファイルの読み込みが中断されました。</source>
        <translation>Loading the file was interrupted.</translation>
    </message>
    <message>
        <source>展開すると 2 GiB 以上になるため、読み込めません。</source>
        <translation>Unpacked, the file would be 2 GiB or more, so it cannot be loaded.</translation>
    </message>
    <message>
        <source>圧縮されたファイルが途中で切れているため、読み込めません。</source>
        <translation>The compressed file ends too soon, so it cannot be loaded.</translation>
    </message>
    <message>
        <source>圧縮されたファイルが壊れているため、読み込めません。</source>
        <translation>The compressed file is damaged, so it cannot be loaded.</translation>
    </message>
    <message>
        <source>%1 行目から始まるレコードが「//」の行で終わっていないため、読み込めません。</source>
        <translation>The record that begins on line %1 does not end with a “//” line, so it cannot be loaded.</translation>
    </message>
    <message>
        <source>%1 行目から始まるレコードに配列がないため、読み込めません。</source>
        <translation>The record that begins on line %1 has no sequence, so it cannot be loaded.</translation>
    </message>
    <message>
        <source>%1 行目に NUL 文字があるため、読み込めません。</source>
        <translation>Line %1 holds a NUL character, so the file cannot be loaded.</translation>
    </message>
    <message>
        <source>%1 行目の見出しが 64 KiB を超えているため、読み込めません。</source>
        <translation>The header on line %1 is longer than 64 KiB, so the file cannot be loaded.</translation>
    </message>
    <message numerus="yes">
        <source>A、C、G、T、U 以外の %1 文字（N やギャップなど）は演奏しません。</source>
        <translation>
            <numerusform>%1 letter other than A, C, G, T and U (N, gaps and the like) will not play.</numerusform>
            <numerusform>%1 letters other than A, C, G, T and U (N, gaps and the like) will not play.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 件のレコードのうち、読み込むものを選んでください。</source>
        <translation>
            <numerusform>The file holds %1 record. Choose the one to load.</numerusform>
            <numerusform>The file holds %1 records. Choose the one to load.</numerusform>
        </translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>説明</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>長さ</source>
        <translation>Length</translation>
    </message>
    <message numerus="yes">
        <source>ほかに %1 件のレコードがあります（一覧は最初の %2 件まで）。</source>
        <translation>
            <numerusform>The file holds %1 more record (the list shows the first %2).</numerusform>
            <numerusform>The file holds %1 more records (the list shows the first %2).</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>tavrola::MainWindowButton</name>
    <message>
        <source>終了</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>&#x3000;&#x3000;データ&#x3000;&#x3000;</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>データ</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>&#x3000;&#x3000;開&#x3000;始&#x3000;&#x3000;</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>開始・停止</source>
        <translation>Start/Stop</translation>
    </message>
    <message>
        <source>&#x3000;&#x3000;音&#x3000;色&#x3000;&#x3000;</source>
        <translation>Instrument</translation>
    </message>
    <message>
        <source>音色</source>
        <translation>Instrument</translation>
    </message>
    <message>
        <source> アルゴリズム&#x3000;&#x3000;</source>
        <translation>Algorithm</translation>
    </message>
    <message>
        <source>アルゴリズム</source>
        <translation>Algorithm</translation>
    </message>
    <message>
        <source> &#x3000;&#x3000;ヘルプ&#x3000;&#x3000;</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>ヘルプ</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>tavrola::MainWindowLabel</name>
    <message>
        <source>塩基</source>
        <translation>Base</translation>
    </message>
    <message>
        <source>左</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>右</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>音高</source>
        <translation>Pitch</translation>
    </message>
    <message>
        <source>右の声部の塩基</source>
        <translation>Base of the right voice</translation>
    </message>
    <message>
        <source>左の声部の塩基</source>
        <translation>Base of the left voice</translation>
    </message>
    <message>
        <source>右の声部の音高</source>
        <translation>Pitch of the right voice</translation>
    </message>
    <message>
        <source>左の声部の音高</source>
        <translation>Pitch of the left voice</translation>
    </message>
</context>
</TS>
